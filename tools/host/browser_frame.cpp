#include "browser_frame.h"

#include <string>

namespace kestrel::host {
namespace {

constexpr int kStatusHeight = 20;
const char* const kFrameClass = "KestrelHostFrame";
const char* const kPluginAreaClass = "KestrelHostPluginArea";

bool registerClasses() {
    static bool registered = [] {
        WNDCLASSA frame{};
        frame.lpfnWndProc = DefWindowProcA;
        frame.hInstance = GetModuleHandleA(nullptr);
        frame.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
        frame.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
        frame.lpszClassName = kFrameClass;
        WNDCLASSA area = frame;
        area.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
        area.lpszClassName = kPluginAreaClass;
        return RegisterClassA(&frame) != 0 && RegisterClassA(&area) != 0;
    }();
    return registered;
}

} // namespace

BrowserFrame::~BrowserFrame() {
    destroy();
}

void BrowserFrame::destroy() {
    if (frame_ != nullptr) {
        SetWindowLongPtrA(frame_, GWLP_USERDATA, 0);
        DestroyWindow(frame_);
    }
    frame_ = pluginArea_ = status_ = nullptr;
}

bool BrowserFrame::create(const char* title) {
    if (!registerClasses()) {
        return false;
    }
    frame_ = CreateWindowExA(0, kFrameClass, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (frame_ == nullptr) {
        return false;
    }
    SetWindowLongPtrA(frame_, GWLP_USERDATA, LONG_PTR(this));
    SetWindowLongPtrA(frame_, GWLP_WNDPROC, LONG_PTR(frameProc));
    // Created in this order, so that the plug-in area is the frame's first child and the
    // status window its next sibling.
    pluginArea_ = CreateWindowExA(0, kPluginAreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                  0, 0, 0, 0, frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
    status_ = CreateWindowExA(0, "STATIC", "0", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, frame_,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    if (pluginArea_ == nullptr || status_ == nullptr) {
        return false;
    }
    percent_ = 0;
    layout();
    return true;
}

void BrowserFrame::show() {
    ShowWindow(frame_, SW_SHOWNORMAL);
    UpdateWindow(frame_);
}

void BrowserFrame::setPercent(int percent) {
    if (status_ == nullptr || percent == percent_) {
        return;
    }
    percent_ = percent;
    SetWindowTextA(status_, std::to_string(percent).c_str());
    // A window that watches the text does so as it paints: paint now, not when the queue
    // runs dry, so that every step is seen.
    InvalidateRect(status_, nullptr, TRUE);
    UpdateWindow(status_);
}

void BrowserFrame::layout() {
    RECT client{};
    GetClientRect(frame_, &client);
    int height = client.bottom > kStatusHeight ? client.bottom - kStatusHeight : 0;
    MoveWindow(pluginArea_, 0, 0, client.right, height, TRUE);
    MoveWindow(status_, 0, height, client.right, client.bottom - height, TRUE);
}

LRESULT CALLBACK BrowserFrame::frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BrowserFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kLeavePageCommand && lParam == 0) {
            self->events_.leavePage(true);
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing the browser leaves the page; the window goes when the plug-in has.
        self->events_.leavePage(false);
        return 0;
    case WM_SIZE:
        if (self->pluginArea_ != nullptr) {
            self->layout();
            self->events_.pluginAreaResized();
        }
        break;
    default:
        if (message >= WM_APP) {
            self->events_.appMessage(message, wParam, lParam);
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace kestrel::host
