#include "host/win32/status_watcher.h"

#include "ui/status_number.h"

#include <string>

namespace kestrel::host::win32 {

LRESULT StatusWatcher::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && target_) {
        const int length = GetWindowTextLengthA(window());
        std::string text(size_t(std::max(length, 0)) + 1, '\0');
        text.resize(size_t(GetWindowTextA(window(), text.data(), int(text.size()))));
        target_(ui::statusNumber(text));
    }
    return callPrevious(message, wParam, lParam);
}

} // namespace kestrel::host::win32
