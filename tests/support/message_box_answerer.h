// Answers the next message box of this process from a helper thread, as a person would: finds
// the box, reads its caption and text and who owns it, and presses one of its buttons.
#pragma once

#include <windows.h>

#include <future>
#include <string>
#include <thread>

namespace kestrel::test {

struct SeenBox {
    bool found = false;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
};

class MessageBoxAnswerer {
  public:
    // Presses button (IDYES, IDOK, ...) on the first box that thread shows.
    MessageBoxAnswerer(DWORD thread, int button) {
        worker_ = std::thread([this, thread, button] { seen_.set_value(answer(thread, button)); });
    }
    ~MessageBoxAnswerer() {
        if (worker_.joinable())
            worker_.join();
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // What the box showed; waits for the helper to finish.
    SeenBox seen() {
        worker_.join();
        return seen_.get_future().get();
    }

  private:
    static BOOL CALLBACK findBox(HWND window, LPARAM found) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static std::string textOf(HWND window) {
        char text[1024] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    // Looks for half a minute at most, so a box that never comes fails the test.
    static SeenBox answer(DWORD thread, int button) {
        HWND box = nullptr;
        for (int tries = 0; !box && tries < 1500; ++tries) {
            Sleep(20);
            EnumThreadWindows(thread, findBox, reinterpret_cast<LPARAM>(&box));
        }
        if (!box)
            return {};
        SeenBox seen{true, textOf(box), textOf(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER)};
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        return seen;
    }

    std::promise<SeenBox> seen_;
    std::thread worker_;
};

} // namespace kestrel::test
