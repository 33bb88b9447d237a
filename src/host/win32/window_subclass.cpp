#include "host/win32/window_subclass.h"

namespace kestrel::host::win32 {
namespace {

// Window properties: the object that handles the window, and the procedure to pass messages
// to once no object does.
constexpr const char* kObjectProperty = "Kestrel.Subclass";
constexpr const char* kPreviousProperty = "Kestrel.Previous";

// Keeps the plug-in loaded for as long as the process lives.
void pinThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&pinThisModule), &module);
}

} // namespace

WindowSubclass::~WindowSubclass() {
    detach();
}

bool WindowSubclass::attach(HWND window) {
    // A window we passed on to someone else's procedure stays theirs.
    if (window_ || !IsWindow(window) || GetPropA(window, kObjectProperty) ||
        GetPropA(window, kPreviousProperty))
        return false;
    if (!SetPropA(window, kObjectProperty, this))
        return false;
    SetLastError(ERROR_SUCCESS);
    const LONG_PTR previous =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
    if (previous == 0 && GetLastError() != ERROR_SUCCESS) {
        RemovePropA(window, kObjectProperty);
        return false;
    }
    window_ = window;
    previous_ = reinterpret_cast<WNDPROC>(previous);
    return true;
}

void WindowSubclass::detach() {
    if (!window_)
        return;
    HWND window = window_;
    window_ = nullptr;
    if (!IsWindow(window))
        return;
    RemovePropA(window, kObjectProperty);
    const auto installed = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (installed == &procedure) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        return;
    }
    // Someone took the window over after us: they call our procedure, which from now on only
    // passes messages on.
    SetPropA(window, kPreviousProperty, reinterpret_cast<HANDLE>(previous_));
    pinThisModule();
}

LRESULT WindowSubclass::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    return callPrevious(message, wParam, lParam);
}

LRESULT WindowSubclass::callPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!previous_)
        return DefWindowProcA(window_, message, wParam, lParam);
    return CallWindowProcA(previous_, window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (auto* self = static_cast<WindowSubclass*>(GetPropA(window, kObjectProperty))) {
        if (message != WM_NCDESTROY)
            return self->handle(message, wParam, lParam);
        // The window goes before we gave it back: nothing is left to restore.
        const LRESULT result = self->callPrevious(message, wParam, lParam);
        RemovePropA(window, kObjectProperty);
        self->window_ = nullptr;
        return result;
    }
    if (auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kPreviousProperty))) {
        if (message == WM_NCDESTROY)
            RemovePropA(window, kPreviousProperty);
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace kestrel::host::win32
