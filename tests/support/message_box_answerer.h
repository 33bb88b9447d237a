// Answers the next message box this thread shows, from a helper thread, as a person would:
// finds the box, reads its caption, text and owner, and presses one of its buttons.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace kestrel::test {

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
};

class MessageBoxAnswerer {
  public:
    // button: IDYES, IDOK, ...
    explicit MessageBoxAnswerer(int button)
        : worker_([this, thread = GetCurrentThreadId(), button] { answer(thread, button); }) {}
    ~MessageBoxAnswerer() {
        if (worker_.joinable())
            worker_.join();
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // What the box showed (nothing when no box came within half a minute).
    SeenBox seen() {
        worker_.join();
        return seen_;
    }

  private:
    static BOOL CALLBACK findBox(HWND window, LPARAM found) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(window))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    static std::string textOf(HWND window) {
        char text[1024] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    void answer(DWORD thread, int button) {
        HWND box = nullptr;
        for (int tries = 0; !box && tries < 1500; ++tries) {
            Sleep(20);
            EnumThreadWindows(thread, findBox, reinterpret_cast<LPARAM>(&box));
        }
        if (!box)
            return;
        seen_ = {textOf(box), textOf(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER)};
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }

    SeenBox seen_;
    std::thread worker_;
};

} // namespace kestrel::test
