#include "ui/win32/dialog_environment.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kestrel::ui::win32 {

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

struct BoxSearch {
    std::vector<HWND> owners;
    std::vector<HWND> boxes;
};

bool isMessageBoxOf(HWND window, const std::vector<HWND>& owners) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != kDialogClass || !GetDlgItem(window, kMessageBoxTextId))
        return false;
    const HWND owner = GetWindow(window, GW_OWNER);
    return std::find(owners.begin(), owners.end(), owner) != owners.end();
}

BOOL CALLBACK collectBoxes(HWND window, LPARAM search) {
    auto* found = reinterpret_cast<BoxSearch*>(search);
    if (isMessageBoxOf(window, found->owners))
        found->boxes.push_back(window);
    return TRUE;
}

// The way out of a message box that consents to least.
int refusal(HWND box) {
    for (const int button : {IDNO, IDCANCEL})
        if (GetDlgItem(box, button))
            return button;
    return IDOK;
}

} // namespace

void DialogEnvironment::postAbort() const {
    if (host_.postAbort)
        host_.postAbort();
}

void DialogEnvironment::place(HWND dialog, DialogKind kind) {
    const Rect area = host_.pluginArea ? host_.pluginArea() : Rect{};
    RECT window{};
    GetWindowRect(dialog, &window);
    const Point at =
        placeDialog(kind, PluginArea{area.left, area.top, area.width(), area.height()},
                    Size{window.right - window.left, window.bottom - window.top}, lastPopup_);
    SetWindowPos(dialog, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool DialogEnvironment::confirmQuit(HWND owner, std::string_view caption) const {
    if (ending_)
        return true;
    const std::string text(prompts_.quit);
    const std::string title(caption);
    return MessageBoxA(owner, text.c_str(), title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void DialogEnvironment::tell(HWND owner, std::string_view text) const {
    if (ending_)
        return;
    const std::string body(text);
    MessageBoxA(owner, body.c_str(), " ", MB_OK | MB_ICONEXCLAMATION);
}

void DialogEnvironment::endEverything(std::initializer_list<HWND> modeless) {
    ending_ = true;
    BoxSearch search;
    search.owners = modals_.open();
    search.owners.insert(search.owners.end(), modeless.begin(), modeless.end());
    if (host_.pluginWindow) {
        search.owners.push_back(host_.pluginWindow);
        search.owners.push_back(GetAncestor(host_.pluginWindow, GA_ROOT));
    }
    std::erase(search.owners, HWND(nullptr));
    EnumThreadWindows(GetCurrentThreadId(), collectBoxes, reinterpret_cast<LPARAM>(&search));
    for (const HWND box : search.boxes) {
        const int button = refusal(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
    for (const HWND dialog : modals_.open())
        EndDialog(dialog, IDCANCEL);
}

} // namespace kestrel::ui::win32
