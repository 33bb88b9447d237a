#include "ui/win32/dialog_controls.h"

#include "ui/win32/dialog_resources.h"

#include <string>

namespace kestrel::ui::win32 {

namespace {

constexpr int kRowLeft = 8;
constexpr int kRowWidth = 170;
constexpr int kRowHeight = 10;
constexpr int kUnnamedControl = 0xFFFF;

RECT inPixels(HWND dialog, RECT dialogUnits) {
    MapDialogRect(dialog, &dialogUnits);
    return dialogUnits;
}

void setText(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextA(dialog, id, std::string(text).c_str());
}

// Moves every control whose top is at or below top (pixels, client coordinates) down by dy.
void moveControlsDown(HWND dialog, int top, int dy) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        if (place.top >= top)
            SetWindowPos(child, nullptr, place.left, place.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

void showPromptRows(HWND dialog, const PromptLines& lines) {
    setText(dialog, KESTREL_PROMPT_FIRST_ROW, lines.firstRow());
    setText(dialog, KESTREL_PROMPT_SECOND_ROW, lines.secondRow());
    if (lines.rows.size() <= 2)
        return;

    const int dy = inPixels(dialog, RECT{0, 0, 0, promptExtraHeight(lines)}).bottom;
    moveControlsDown(dialog, inPixels(dialog, RECT{0, promptRowTop(2), 0, 0}).top, dy);
    const auto font = WPARAM(SendMessageA(dialog, WM_GETFONT, 0, 0));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND previous = GetDlgItem(dialog, KESTREL_PROMPT_SECOND_ROW);
    for (size_t row = 2; row < lines.rows.size(); ++row) {
        const int top = promptRowTop(row);
        const RECT place =
            inPixels(dialog, RECT{kRowLeft, top, kRowLeft + kRowWidth, top + kRowHeight});
        const HWND text = CreateWindowExA(
            0, "STATIC", lines.rows[row].c_str(), WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT,
            place.left, place.top, place.right - place.left, place.bottom - place.top, dialog,
            reinterpret_cast<HMENU>(INT_PTR(kUnnamedControl)), instance, nullptr);
        SendMessageA(text, WM_SETFONT, font, FALSE);
        // Right after the row above, so that the rows read in order.
        SetWindowPos(text, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = text;
    }
    RECT window{};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<INT_PTR> windowColours(UINT message, WPARAM wParam) {
    if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC)
        return std::nullopt;
    SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

void captionButtons(HWND dialog, std::string_view ok, std::string_view cancel) {
    setText(dialog, IDOK, ok);
    setText(dialog, IDCANCEL, cancel);
}

} // namespace kestrel::ui::win32
