#include "watchdog.h"

#include <cstdio>

namespace kestrel::host {
namespace {

constexpr DWORD kGraceMs = 20000;
constexpr UINT kStuckExit = 1;

} // namespace

Watchdog::~Watchdog() {
    if (stop_ != nullptr) {
        SetEvent(stop_);
        thread_.join();
        CloseHandle(stop_);
    }
}

void Watchdog::start(double seconds, HWND window, UINT message) {
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD deadline = seconds * 1000 >= 0xFFFFFFF0 ? INFINITE - 1 : DWORD(seconds * 1000);
    thread_ = std::thread([this, deadline, window, message] {
        if (WaitForSingleObject(stop_, deadline) != WAIT_TIMEOUT) {
            return;
        }
        PostMessageA(window, message, 0, 0);
        if (WaitForSingleObject(stop_, kGraceMs) != WAIT_TIMEOUT) {
            return;
        }
        std::fprintf(stderr,
                     "kestrel-host: the plug-in did not let the page go within %lu s "
                     "of the time limit; ending\n",
                     kGraceMs / 1000);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), kStuckExit);
    });
}

} // namespace kestrel::host
