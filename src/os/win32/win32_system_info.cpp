// Physical memory and the display, read afresh at every question.
#include "os/native_machine.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

namespace kestrel::os {
namespace {

class Win32SystemInfo final : public SystemInfo {
  public:
    uint64_t totalPhysicalMemory() override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
    }

    DisplayMode displayMode() override {
        win32::CreatedDc display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        if (!display.valid()) {
            return {};
        }
        const auto caps = [&](int index) {
            return static_cast<uint32_t>(GetDeviceCaps(display.get(), index));
        };
        return DisplayMode{caps(BITSPIXEL), caps(PLANES), caps(HORZRES), caps(VERTRES)};
    }
};

} // namespace

std::unique_ptr<SystemInfo> makeNativeSystemInfo() {
    return std::make_unique<Win32SystemInfo>();
}

} // namespace kestrel::os
