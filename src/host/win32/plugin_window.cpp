#include "host/win32/plugin_window.h"

#include "host/win32/stand_in_dialogs.h"

#include <vector>

namespace kestrel::host::win32 {

PluginWindow* PluginWindow::create(HWND window, HINSTANCE module, PluginProcess& process,
                                   NPNetscapeFuncs* browser, NPP npp) {
    auto* made = new PluginWindow(window, module, process, browser, npp);
    if (!made->attach(window)) {
        delete made;
        MessageBoxA(nullptr, "SubclassWindow Failed", "Quill", MB_OK);
        return nullptr;
    }
    return made;
}

PluginWindow::PluginWindow(HWND window, HINSTANCE module, PluginProcess& process,
                           NPNetscapeFuncs* browser, NPP npp)
    : handle_(window), module_(module), process_(process), browser_(browser), npp_(npp),
      measure_(makeStandInMeasure()), dialogs_([this]() -> std::unique_ptr<InstallerDialogs> {
          if (!session_.script())
              return nullptr;
          return makeStandInDialogs();
      }),
      services_(window, *this, dialogs_, *measure_, {}), session_(process, services_.services()) {}

PluginWindow::~PluginWindow() {
    status_.detach();
    dropQueuedSteps();
    detach();
}

PluginWindow::Use::~Use() {
    if (--window_.depth_ == 0 && window_.released_)
        delete &window_;
}

void PluginWindow::release() {
    Use use(*this);
    released_ = true;
    npp_ = nullptr;
    session_.end();
}

void PluginWindow::dropQueuedSteps() {
    if (!IsWindow(handle_))
        return;
    std::vector<MSG> others;
    MSG message;
    while (PeekMessageA(&message, handle_, WM_INSTALLSTEP, WM_INSTALLSTEP, PM_REMOVE)) {
        const bool ours = message.wParam <= WPARAM(kLastStepCode) &&
                          (message.lParam == 0 || message.lParam == deliveredPathBuffer());
        if (!ours)
            others.push_back(message);
    }
    for (const MSG& other : others)
        PostMessageA(handle_, other.message, other.wParam, other.lParam);
}

LRESULT PluginWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    Use use(*this);
    switch (message) {
    case WM_INSTALLSTEP:
        // The browser's window may carry messages of this number of its own.
        if (!released_ && wParam <= WPARAM(kLastStepCode) &&
            (lParam == 0 || lParam == deliveredPathBuffer())) {
            session_.step(StepCode(wParam), lParam != 0);
            return 0;
        }
        break;
    case 996:
    case 997:
        return 0;
    case WM_ERASEBKGND:
        if (session_.script()) {
            paintBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        }
        break;
    case WM_PAINT:
        if (session_.script()) {
            PAINTSTRUCT paint;
            BeginPaint(handle_, &paint);
            EndPaint(handle_, &paint);
            return 0;
        }
        break;
    default:
        break;
    }
    return callPrevious(message, wParam, lParam);
}

void PluginWindow::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(handle_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
}

void PluginWindow::requestUrl(const std::string& url, StepCode) {
    if (npp_ && browser_ && browser_->geturl)
        browser_->geturl(npp_, url.c_str(), nullptr);
}

void PluginWindow::postStep(StepCode code) {
    PostMessageA(handle_, WM_INSTALLSTEP, WPARAM(code), 0);
}

void PluginWindow::postDelivery(StepCode code) {
    PostMessageA(handle_, WM_INSTALLSTEP, WPARAM(code), deliveredPathBuffer());
}

void PluginWindow::waitForMessages(uint32_t milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
}

void PluginWindow::requestEndOfPage(bool restoreWindow) {
    if (!npp_)
        return; // the page is being left already
    HWND top = GetAncestor(handle_, GA_ROOT);
    if (!top || top == handle_)
        return;
    if (restoreWindow)
        ShowWindow(top, SW_SHOWNORMAL);
    PostMessageA(top, WM_COMMAND, kLeavePageCommand, 0);
}

void PluginWindow::enlargeBrowser() {
    HWND top = GetAncestor(handle_, GA_ROOT);
    if (!top || top == handle_)
        return;
    ShowWindow(top, SW_SHOWMAXIMIZED);
    // The browser's status window: the second child of its frame.
    HWND status = GetWindow(GetWindow(top, GW_CHILD), GW_HWNDNEXT);
    if (status && status != handle_ && status_.attach(status))
        status_.setTarget([this](int32_t percent) { dialogs_.setDownloadPercent(percent); });
}

ui::Rect PluginWindow::pluginArea() const {
    RECT client{};
    GetClientRect(handle_, &client);
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    ClientToScreen(handle_, &corners[0]);
    ClientToScreen(handle_, &corners[1]);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void PluginWindow::repaint() {
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
}

void PluginWindow::setScreenPicture(const std::string&) {
    repaint();
}

bool PluginWindow::showIntroScreen(const std::string&, int32_t) {
    return false;
}

void PluginWindow::closeIntroScreen() {}

void PluginWindow::showLocatePanel(const std::string&) {}

} // namespace kestrel::host::win32
