// Watches the browser's status window, whose text is the download's percentage, and passes
// the number on to the progress dialog each time the window paints.
#pragma once

#include "host/win32/window_subclass.h"

#include <cstdint>
#include <functional>

namespace kestrel::host::win32 {

class StatusWatcher final : public WindowSubclass {
  public:
    // Called with the number at each paint; empty while there is nothing to feed.
    void setTarget(std::function<void(int32_t percent)> target) { target_ = std::move(target); }

  private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::function<void(int32_t)> target_;
};

} // namespace kestrel::host::win32
