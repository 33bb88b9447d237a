#include "window_watcher.h"

#include "win32_util.h"
#include "window_capture.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::host {
namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 5000;

// Control ids every message box carries: its text and its icon (0x14 on Windows, 1088 under
// Wine).
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconIds[] = {0x14, 1088};
// The progress dialog's two bars.
constexpr int kProgressBarIds[] = {102, 800};

std::vector<HWND> childrenInOrder(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

bool isClass(HWND window, const char* name) {
    return _stricmp(windowClass(window).c_str(), name) == 0;
}

bool isOption(HWND control) {
    if (!isClass(control, "Button")) {
        return false;
    }
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool isMessageBox(HWND window) {
    HWND text = GetDlgItem(window, kMessageBoxTextId);
    return text != nullptr && isClass(text, "Static") &&
           std::any_of(std::begin(kMessageBoxIconIds), std::end(kMessageBoxIconIds),
                       [&](int id) { return GetDlgItem(window, id) != nullptr; });
}

std::vector<std::string> visibleTexts(HWND window) {
    std::vector<std::string> texts;
    for (HWND child : childrenInOrder(window)) {
        if (isClass(child, "Static") || isClass(child, "Button")) {
            std::string text = windowText(child);
            if (!text.empty()) {
                texts.push_back(text);
            }
        }
    }
    return texts;
}

BOOL CALLBACK collectOurDialogs(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && isClass(window, "#32770")) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

LRESULT sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return LRESULT(result);
}

// A click on a button as the mouse gives it: the dialog hears WM_COMMAND with BN_CLICKED.
// Posted, so that a button that opens another window does not hold this thread.
bool press(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr || !IsWindowEnabled(button)) {
        return false;
    }
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(button));
}

bool fillFirstEdit(HWND dialog, const std::string& value) {
    for (HWND child : childrenInOrder(dialog)) {
        if (isClass(child, "Edit")) {
            int length =
                MultiByteToWideChar(CP_UTF8, 0, value.data(), int(value.size()), nullptr, 0);
            std::wstring wide(size_t(length), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, value.data(), int(value.size()), wide.data(), length);
            sendWithTimeout(child, WM_SETTEXT, 0, LPARAM(wide.c_str()));
            return true;
        }
    }
    return false;
}

bool setOptions(HWND dialog, const std::vector<int>& positions) {
    std::vector<HWND> options;
    for (HWND child : childrenInOrder(dialog)) {
        if (isOption(child)) {
            options.push_back(child);
        }
    }
    if (std::any_of(positions.begin(), positions.end(),
                    [&](int p) { return p > int(options.size()); })) {
        return false;
    }
    for (size_t i = 0; i < options.size(); ++i) {
        bool wanted = std::find(positions.begin(), positions.end(), int(i + 1)) != positions.end();
        // Click the ones in the wrong state, then make sure: a plain check box only changes
        // when its dialog says so.
        if ((sendWithTimeout(options[i], BM_GETCHECK, 0, 0) == BST_CHECKED) != wanted) {
            sendWithTimeout(options[i], BM_CLICK, 0, 0);
        }
    }
    for (size_t i = 0; i < options.size(); ++i) {
        bool wanted = std::find(positions.begin(), positions.end(), int(i + 1)) != positions.end();
        if ((sendWithTimeout(options[i], BM_GETCHECK, 0, 0) == BST_CHECKED) != wanted) {
            sendWithTimeout(options[i], BM_SETCHECK, wanted ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return true;
}

bool apply(HWND window, const AnswerAction& action) {
    switch (action.kind) {
    case AnswerAction::Kind::Yes:
        return press(window, IDYES);
    case AnswerAction::Kind::No:
        return press(window, IDNO);
    case AnswerAction::Kind::Ok:
        return press(window, IDOK);
    case AnswerAction::Kind::Cancel:
        return press(window, IDCANCEL);
    case AnswerAction::Kind::Text:
        return fillFirstEdit(window, action.text) && press(window, IDOK);
    case AnswerAction::Kind::Check:
        return setOptions(window, action.positions) && press(window, IDOK);
    }
    return false;
}

// What a window that no rule answers gets: the way out that changes least.
std::string answerDefault(HWND window) {
    if (press(window, IDCANCEL)) {
        return "cancel";
    }
    if (press(window, IDNO)) {
        return "no";
    }
    if (!isMessageBox(window)) {
        // Escape: a dialog without a Cancel button still hears IDCANCEL.
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return "cancel";
    }
    press(window, IDOK);
    return "ok";
}

} // namespace

WindowWatcher::WindowWatcher(WatcherOptions options) : options_(std::move(options)) {}

WindowWatcher::~WindowWatcher() {
    stop();
}

bool WindowWatcher::openTranscript(std::string& error) {
    if (!transcript_.open(options_.transcriptPath)) {
        error = "cannot create the transcript " + options_.transcriptPath;
        return false;
    }
    return true;
}

void WindowWatcher::start() {
    thread_ = std::thread([this] { run(); });
}

void WindowWatcher::stop() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

void WindowWatcher::run() {
    while (!stopping_) {
        poll();
        Sleep(kPollMs);
    }
}

void WindowWatcher::poll() {
    std::vector<HWND> dialogs;
    EnumWindows(collectOurDialogs, LPARAM(&dialogs));
    // Forget windows that are gone: their handles may come back for new ones.
    std::erase_if(sightings_, [&](const auto& seen) {
        return std::find(dialogs.begin(), dialogs.end(), seen.first) == dialogs.end();
    });
    // EnumWindows lists the newest on top; look at them in the order they appeared.
    std::reverse(dialogs.begin(), dialogs.end());
    for (HWND window : dialogs) {
        // Looked at on the second sighting, so that a window caught between its creation and
        // the disabling of its owner is judged as it settles.
        if (++sightings_[window] == 2) {
            photographPluginWindow();
            look(window);
        }
    }
}

void WindowWatcher::look(HWND window) {
    TranscriptEntry entry;
    entry.caption = windowText(window);
    entry.texts = visibleTexts(window);
    HWND owner = GetWindow(window, GW_OWNER);
    bool messageBox = isMessageBox(window);
    bool progress = std::all_of(std::begin(kProgressBarIds), std::end(kProgressBarIds),
                                [&](int id) { return GetDlgItem(window, id) != nullptr; });
    bool waits = !progress && (messageBox || (owner != nullptr && !IsWindowEnabled(owner)));
    entry.kind = progress ? "progress" : !waits ? "popup" : messageBox ? "messagebox" : "dialog";
    screenshot(window, entry.kind, false);
    if (waits && options_.rules) {
        const AnswerRule* rule = findAnswerRule(*options_.rules, entry.caption, entry.texts);
        if (rule != nullptr && apply(window, rule->action)) {
            entry.answer = rule->action.describe();
        } else {
            entry.answer = answerDefault(window);
            entry.unmatched = true;
            unanswered_ = true;
            std::fprintf(stderr, "kestrel-host: %s \"%s\" %s; answered %s\n", entry.kind.c_str(),
                         entry.caption.c_str(),
                         rule ? ("cannot take the answer " + rule->action.describe()).c_str()
                              : "matches no rule",
                         entry.answer->c_str());
        }
    }
    transcript_.write(entry);
}

void WindowWatcher::photographPluginWindow() {
    HWND plugin = pluginWindow_;
    if (plugin != nullptr && !pluginShot_.exchange(true)) {
        screenshot(plugin, "plugin", true);
    }
}

void WindowWatcher::screenshot(HWND window, const std::string& kind, bool clientOnly) {
    if (options_.screenshotsDir.empty()) {
        return;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%03d-%s.png", ++shotNumber_, kind.c_str());
    std::string path = options_.screenshotsDir + "\\" + name;
    if (!saveWindowPng(window, clientOnly, path)) {
        std::fprintf(stderr, "kestrel-host: cannot save the screenshot %s\n", path.c_str());
    }
}

} // namespace kestrel::host
