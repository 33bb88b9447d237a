// Messages and questions as the system's message boxes.
#include "os/message_box_prompts.h"

#include <windows.h>

#include <string>

namespace kestrel::os {

PromptResult MessageBoxPrompts::messageBox(std::string_view text, std::string_view caption,
                                           uint32_t type) {
    HWND owner = static_cast<HWND>(owner_);
    // A box with a destroyed owner is never shown (Wine answers -1, Windows 0).
    if (owner && !IsWindow(owner))
        owner = nullptr;
    const std::string body(text);
    const std::string title(caption);
    switch (MessageBoxA(owner, body.c_str(), title.c_str(), type)) {
    case IDOK:
        return kIdOk;
    case IDCANCEL:
        return kIdCancel;
    case IDYES:
        return kIdYes;
    case IDNO:
        return kIdNo;
    default:
        break;
    }
    const uint32_t buttons = type & MB_TYPEMASK;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
        return kIdNo;
    return buttons == MB_OK ? kIdOk : kIdCancel;
}

PromptResult MessageBoxPrompts::showScreen(const ScreenDialog& screen) {
    return screens_ ? screens_(screen) : kIdCancel;
}

} // namespace kestrel::os
