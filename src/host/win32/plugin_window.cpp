#include "host/win32/plugin_window.h"

#include "ui/win32/plugin_window_painting.h"

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
      dialogs_([this]() -> std::unique_ptr<InstallerDialogs> {
          const script::InstallScript* script = session_.script();
          if (!script)
              return nullptr;
          auto made = std::make_unique<ui::win32::Win32InstallerDialogs>(
              ui::win32::DialogHost{module_, handle_, [this] { return pluginArea(); },
                                    [this] { session_.abortInstallation(); }},
              process_.globals.settings, script->prompts);
          installerDialogs_ = made.get();
          return made;
      }),
      // The services are made before the dialogs: screens reach them through the window.
      services_(window, *this, dialogs_, measure_,
                [this](const os::ScreenDialog& screen) { return showScreen(screen); }),
      session_(process, services_.services()) {}

PluginWindow::~PluginWindow() {
    // The browser may destroy the instance from inside a modeless dialog's handler (the quit
    // question over the progress dialog): a small leak beats freeing the dialog under it.
    if (installerDialogs_ && installerDialogs_->busy())
        dialogs_.abandon();
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
    // Every dialog and question still open ends first, so that the call it serves returns;
    // a modeless dialog's question may be open while the session itself is idle.
    if (installerDialogs_)
        installerDialogs_->cancelOpenDialog();
    session_.end();
}

ui::win32::Win32InstallerDialogs* PluginWindow::installerDialogs() {
    dialogs_.get();
    return installerDialogs_;
}

os::PromptResult PluginWindow::showScreen(const os::ScreenDialog& screen) {
    ui::win32::Win32InstallerDialogs* dialogs = installerDialogs();
    return dialogs ? dialogs->showScreen(screen) : os::kIdCancel;
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
        if (const script::InstallScript* script = session_.script()) {
            paintBackground(reinterpret_cast<HDC>(wParam), *script);
            return 1;
        }
        break;
    case WM_PAINT:
        if (const script::InstallScript* script = session_.script()) {
            PAINTSTRUCT paint;
            if (HDC dc = BeginPaint(handle_, &paint)) {
                paintTitle(dc, *script);
                EndPaint(handle_, &paint);
            }
            return 0;
        }
        break;
    default:
        break;
    }
    return callPrevious(message, wParam, lParam);
}

void PluginWindow::paintBackground(HDC dc, const script::InstallScript& script) {
    RECT client{};
    GetClientRect(handle_, &client);
    const int32_t position = script.screenGraphic ? int32_t(script.screenGraphic->position) : 0;
    ui::win32::paintBackdrop(dc, ui::Size{client.right, client.bottom},
                             ui::win32::Backdrop{script.screenColourTop, script.screenColourBottom,
                                                 screenPicture_.get(), position});
}

void PluginWindow::paintTitle(HDC dc, const script::InstallScript& script) {
    ui::win32::paintTitle(dc, script.title,
                          ui::win32::titleStyleOf(process_.globals.settings.titleFont),
                          script.titleColour, pluginArea().width());
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

void PluginWindow::setScreenPicture(const std::string& path) {
    // A file that cannot be read leaves the backdrop without a picture.
    screenPicture_ =
        path.empty() ? nullptr : ui::win32::loadWindowPicture(services_.services().files, path);
    repaint();
}

bool PluginWindow::showIntroScreen(const std::string& path, int32_t seconds) {
    std::unique_ptr<ui::win32::WindowPicture> picture =
        path.empty() ? nullptr : ui::win32::loadWindowPicture(services_.services().files, path);
    if (!picture)
        return false;
    // The intro's end is posted, not handled here: the step deletes the intro window.
    intro_ = ui::win32::IntroWindow::show(module_, handle_, std::move(picture), seconds,
                                          [this] { postStep(StepCode::Continue); });
    return intro_ != nullptr;
}

void PluginWindow::closeIntroScreen() {
    intro_.reset();
}

void PluginWindow::showLocatePanel(const std::string&) {
    const script::InstallScript* script = session_.script();
    if (!script)
        return;
    ui::win32::showLocatePanel(handle_, pluginArea().width(), process_.globals.settings.screenFont,
                               script->prompts.locate);
}

} // namespace kestrel::host::win32
