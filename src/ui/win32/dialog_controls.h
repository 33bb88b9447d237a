// Small pieces several dialogs share: the prompt rows above an edit box, and the colours of
// the dialogs that paint their controls on the window colour.
#pragma once

#include "ui/prompt_lines.h"

#include <windows.h>

#include <optional>

namespace kestrel::ui::win32 {

// Shows lines in the prompt rows (controls 301 and 302). Rows beyond the second become static
// texts of their own below them; every control under the prompt moves down to make room and
// the dialog grows by as much.
void showPromptRows(HWND dialog, const PromptLines& lines);

// WM_CTLCOLOR...: text on the window colour, and the window colour's brush; nothing for any
// other message.
std::optional<INT_PTR> windowColours(UINT message, WPARAM wParam);

// The dialog's OK and Cancel buttons captioned as the script says.
void captionButtons(HWND dialog, std::string_view ok, std::string_view cancel);

} // namespace kestrel::ui::win32
