#include "ui/win32/dialog_window.h"

#include <algorithm>

namespace kestrel::ui::win32 {

namespace {

LPCDLGTEMPLATEA templateOf(const std::vector<uint8_t>& bytes) {
    return reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data());
}

} // namespace

void ModalDialogs::closed(HWND dialog) {
    const auto found = std::find(open_.begin(), open_.end(), dialog);
    if (found != open_.end())
        open_.erase(found);
}

DialogWindow::~DialogWindow() {
    destroy();
}

void DialogWindow::destroy() {
    if (!window_)
        return;
    const HWND window = window_;
    SetWindowLongPtrA(window, DWLP_USER, 0);
    window_ = nullptr;
    DestroyWindow(window);
}

INT_PTR DialogWindow::runModal(HINSTANCE module, int resourceId, HWND parent,
                               ModalDialogs& modals) {
    modals_ = &modals;
    const INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(resourceId), parent, procedure,
                                           reinterpret_cast<LPARAM>(this));
    modals_ = nullptr;
    return result;
}

INT_PTR DialogWindow::runModal(const std::vector<uint8_t>& dialogTemplate, HINSTANCE module,
                               HWND parent, ModalDialogs& modals) {
    if (dialogTemplate.empty())
        return -1;
    modals_ = &modals;
    const INT_PTR result = DialogBoxIndirectParamA(module, templateOf(dialogTemplate), parent,
                                                   procedure, reinterpret_cast<LPARAM>(this));
    modals_ = nullptr;
    return result;
}

bool DialogWindow::createModeless(HINSTANCE module, int resourceId, HWND parent) {
    CreateDialogParamA(module, MAKEINTRESOURCEA(resourceId), parent, procedure,
                       reinterpret_cast<LPARAM>(this));
    return window_ != nullptr;
}

bool DialogWindow::createModeless(const std::vector<uint8_t>& dialogTemplate, HINSTANCE module,
                                  HWND parent) {
    if (dialogTemplate.empty())
        return false;
    CreateDialogIndirectParamA(module, templateOf(dialogTemplate), parent, procedure,
                               reinterpret_cast<LPARAM>(this));
    return window_ != nullptr;
}

std::string DialogWindow::itemText(int id) const {
    const HWND item = GetDlgItem(window_, id);
    std::string text(size_t(std::max(0, GetWindowTextLengthA(item))) + 1, '\0');
    text.resize(size_t(std::max(0, GetWindowTextA(item, text.data(), int(text.size())))));
    return text;
}

void DialogWindow::setItemText(int id, std::string_view text) const {
    SetDlgItemTextA(window_, id, std::string(text).c_str());
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DialogWindow*>(lParam);
        dialog->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        if (dialog->modals_)
            dialog->modals_->opened(window);
    }
    auto* dialog = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        if (dialog->modals_)
            dialog->modals_->closed(window);
        dialog->window_ = nullptr;
        return FALSE;
    }
    ++dialog->depth_;
    const INT_PTR result = dialog->handle(message, wParam, lParam);
    --dialog->depth_;
    return result;
}

INT_PTR DialogWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInit();
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
            if (LOWORD(wParam) == IDOK) {
                onOk();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                onCancel();
                return TRUE;
            }
        }
        break;
    default:
        break;
    }
    const std::optional<INT_PTR> handled = onMessage(message, wParam, lParam);
    return handled ? *handled : FALSE;
}

} // namespace kestrel::ui::win32
