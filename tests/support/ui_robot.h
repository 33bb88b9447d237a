// A person at the screen, played from a helper thread: waits for the dialogs and message boxes
// that the test's own thread shows (that thread sits in their message loops meanwhile), reads
// their texts and places, types into their edit boxes, ticks their options and presses their
// buttons. What it sees is kept for the test to check once the dialog has returned; a wait
// that comes to nothing is noted in failures() and ends the script, after posting kRescue to
// the rescue window (whose owner then ends whatever is still open).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kestrel::test {

class UiRobot {
  public:
    struct Stop {}; // thrown inside the script when a wait fails
    static constexpr UINT kRescue = WM_APP + 7;

    // Runs script on a helper thread against the windows of the calling thread.
    explicit UiRobot(std::function<void(UiRobot&)> script, HWND rescue = nullptr)
        : thread_(GetCurrentThreadId()), rescue_(rescue),
          worker_([this, script = std::move(script)] {
              try {
                  script(*this);
              } catch (const Stop&) {
              }
          }) {}
    ~UiRobot() { finish(); }
    UiRobot(const UiRobot&) = delete;
    UiRobot& operator=(const UiRobot&) = delete;

    // Waits for the script to end; then failures() and what the script kept can be read.
    void finish() {
        if (worker_.joinable())
            worker_.join();
    }
    const std::vector<std::string>& failures() const { return failures_; }

    // A visible dialog of the watched thread that has control id (and is not a message box).
    HWND dialogWith(int id) {
        return waitFor("a dialog with control " + std::to_string(id), [&](HWND window) {
            return !isMessageBox(window) && GetDlgItem(window, id) != nullptr;
        });
    }
    // A visible message box owned by owner.
    HWND messageBoxOver(HWND owner) {
        return waitFor("a message box", [&](HWND window) {
            return isMessageBox(window) && GetWindow(window, GW_OWNER) == owner;
        });
    }
    // Waits until window is gone or hidden.
    void waitHidden(HWND window) {
        for (int tries = 0; IsWindow(window) && IsWindowVisible(window); ++tries) {
            if (tries == kTries)
                fail("a window stayed up");
            Sleep(kPollMs);
        }
    }

    static std::string text(HWND window) {
        char text[1024] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static std::string text(HWND dialog, int id) { return text(GetDlgItem(dialog, id)); }
    static RECT place(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    static void type(HWND dialog, int id, const std::string& value) {
        SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(value.c_str()));
    }
    static bool checked(HWND dialog, int id) {
        return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static void setChecked(HWND dialog, int id, bool on) {
        SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // A click as the mouse gives it: posted, so that a button that opens another window does
    // not hold the robot.
    static void press(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

  private:
    static constexpr int kPollMs = 20;
    static constexpr int kTries = 500; // ten seconds

    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found = nullptr;
    };

    static bool isMessageBox(HWND window) {
        // Message boxes carry an icon: id 0x14 on Windows, 1088 under Wine.
        return GetDlgItem(window, 0xFFFF) && (GetDlgItem(window, 0x14) || GetDlgItem(window, 1088));
    }

    static BOOL CALLBACK visit(HWND window, LPARAM search) {
        auto* s = reinterpret_cast<Search*>(search);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window) && (*s->match)(window)) {
            s->found = window;
            return FALSE;
        }
        return TRUE;
    }

    HWND waitFor(const std::string& what, const std::function<bool(HWND)>& match) {
        for (int tries = 0; tries < kTries; ++tries) {
            Search search{&match};
            EnumThreadWindows(thread_, visit, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                Sleep(kPollMs); // let it finish opening
                return search.found;
            }
            Sleep(kPollMs);
        }
        fail("no " + what + " appeared");
        return nullptr;
    }

    [[noreturn]] void fail(const std::string& what) {
        failures_.push_back(what);
        if (rescue_)
            PostMessageA(rescue_, kRescue, 0, 0);
        throw Stop{};
    }

    DWORD thread_;
    HWND rescue_;
    std::vector<std::string> failures_;
    std::thread worker_;
};

} // namespace kestrel::test
