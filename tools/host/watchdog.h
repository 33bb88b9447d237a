// The --timeout clock: at the deadline it asks the browser's window to leave the page; when
// the page is still not left a while later (a plug-in stuck in a call that never returns), it
// ends the process so that nothing waits for ever.
#pragma once

#include <windows.h>

#include <thread>

namespace kestrel::host {

class Watchdog {
  public:
    Watchdog() = default;
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog();

    void start(double seconds, HWND window, UINT message);

  private:
    HANDLE stop_ = nullptr;
    std::thread thread_;
};

} // namespace kestrel::host
