// The base of the installer's dialogs: one C++ object behind one dialog window, modal or
// modeless, made from the plug-in's resources or from a template built in memory. The object
// must outlive its window's handlers; busy() says when one is running.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::ui::win32 {

// The modal dialogs open at a moment, innermost last, so that they can all be ended at once.
class ModalDialogs {
  public:
    void opened(HWND dialog) { open_.push_back(dialog); }
    void closed(HWND dialog);
    const std::vector<HWND>& open() const { return open_; }

  private:
    std::vector<HWND> open_;
};

class DialogWindow {
  public:
    DialogWindow() = default;
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND window() const { return window_; }
    bool busy() const { return depth_ > 0; }
    // Destroys a modeless window (a modal one ends through end()).
    void destroy();

  protected:
    // Runs the dialog modally over parent: the result given to end(), or -1 when the dialog
    // cannot be made. While it runs it is listed in modals.
    INT_PTR runModal(HINSTANCE module, int resourceId, HWND parent, ModalDialogs& modals);
    INT_PTR runModal(const std::vector<uint8_t>& dialogTemplate, HINSTANCE module, HWND parent,
                     ModalDialogs& modals);
    bool createModeless(HINSTANCE module, int resourceId, HWND parent);
    bool createModeless(const std::vector<uint8_t>& dialogTemplate, HINSTANCE module, HWND parent);

    virtual void onInit() {}
    virtual void onOk() { end(IDOK); }
    virtual void onCancel() { end(IDCANCEL); }
    // Any other message; a value when it was handled.
    virtual std::optional<INT_PTR> onMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

    void end(INT_PTR result) { EndDialog(window_, result); }
    std::string itemText(int id) const;
    void setItemText(int id, std::string_view text) const;

  private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    int depth_ = 0;
    ModalDialogs* modals_ = nullptr;
};

} // namespace kestrel::ui::win32
