#include "ui/win32/intro_window.h"

#include "ui/picture_placement.h"

#include <algorithm>

namespace kestrel::ui::win32 {

namespace {

constexpr char kClassName[] = "KestrelIntroScreen";
constexpr UINT_PTR kTimerId = 1;

} // namespace

IntroWindow::IntroWindow(HINSTANCE module, std::unique_ptr<WindowPicture> picture,
                         std::function<void()> onEnd)
    : module_(module), picture_(std::move(picture)), onEnd_(std::move(onEnd)) {}

std::unique_ptr<IntroWindow> IntroWindow::show(HINSTANCE module, HWND pluginWindow,
                                               std::unique_ptr<WindowPicture> picture,
                                               int32_t seconds, std::function<void()> onEnd) {
    std::unique_ptr<IntroWindow> intro(
        new IntroWindow(module, std::move(picture), std::move(onEnd)));
    if (intro->picture_) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = module;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        RegisterClassExA(&windowClass); // fails harmlessly when an earlier intro registered it
        CreateWindowExA(0, kClassName, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, nullptr, module, intro.get());
    }
    if (!intro->window_) {
        intro->end();
        return intro;
    }
    RECT area{};
    GetWindowRect(pluginWindow, &area);
    MoveWindow(intro->window_, area.left, area.top, area.right - area.left, area.bottom - area.top,
               TRUE);
    ShowWindow(intro->window_, SW_SHOW);
    SetCapture(intro->window_);
    // Armed once, when shown: repaints do not push the end further away.
    if (seconds > 0) {
        const int64_t milliseconds = std::min<int64_t>(int64_t(seconds) * 1000, USER_TIMER_MAXIMUM);
        intro->timerSet_ = SetTimer(intro->window_, kTimerId, UINT(milliseconds), nullptr) != 0;
    }
    return intro;
}

IntroWindow::~IntroWindow() {
    if (window_) {
        if (timerSet_)
            KillTimer(window_, kTimerId);
        if (GetCapture() == window_)
            ReleaseCapture();
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    // A class registered by a library outlives the library: unregister it, so that a library
    // loaded again later registers its own procedure.
    UnregisterClassA(kClassName, module_);
}

LRESULT CALLBACK IntroWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* intro =
            static_cast<IntroWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        intro->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(intro));
    }
    auto* intro = reinterpret_cast<IntroWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!intro)
        return DefWindowProcA(window, message, wParam, lParam);
    return intro->handle(message, wParam, lParam);
}

LRESULT IntroWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the paint covers everything
    case WM_PAINT:
        paint();
        return 0;
    case WM_TIMER:
        if (wParam != kTimerId)
            break;
        end();
        return 0;
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        end();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = window_;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void IntroWindow::paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (picture_)
        picture_->draw(dc, Size{client.right, client.bottom}, kPositionCentre);
    EndPaint(window_, &paint);
}

void IntroWindow::end() {
    if (ended_)
        return;
    ended_ = true;
    if (window_) {
        if (timerSet_)
            KillTimer(window_, kTimerId);
        timerSet_ = false;
        if (GetCapture() == window_)
            ReleaseCapture();
    }
    if (onEnd_)
        onEnd_();
}

} // namespace kestrel::ui::win32
