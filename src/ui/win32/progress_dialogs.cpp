#include "ui/win32/progress_dialogs.h"

#include "lexical/ansi_text.h"
#include "ui/progress_bar.h"
#include "ui/win32/dialog_controls.h"
#include "ui/win32/dialog_resources.h"
#include "ui/win32/gdi.h"

#include <string>

namespace kestrel::ui::win32 {

namespace {

// A control's client area in its dialog's client coordinates.
Rect clientAreaOf(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    RECT area{};
    GetClientRect(control, &area);
    MapWindowPoints(control, dialog, reinterpret_cast<POINT*>(&area), 2);
    return Rect{area.left, area.top, area.right, area.bottom};
}

// The label drawn twice, each time clipped to one part: white on blue, then blue on white.
void paintBar(HDC dc, const Rect& bar, int32_t percent) {
    const std::string label = barLabel(percent);
    SIZE extent{};
    GetTextExtentPoint32A(dc, label.c_str(), int(label.size()), &extent);
    const BarLayout layout = layoutBar(bar, percent, Size{extent.cx, extent.cy});
    const struct {
        Rect part;
        Colour text;
        Colour background;
    } parts[] = {{layout.filled, kBarEmptyColour, kBarFilledColour},
                 {layout.empty, kBarFilledColour, kBarEmptyColour}};
    for (const auto& part : parts) {
        const RECT clip = rectOf(part.part);
        SetTextColor(dc, colorOf(part.text));
        SetBkColor(dc, colorOf(part.background));
        ExtTextOutA(dc, layout.labelOrigin.x, layout.labelOrigin.y, ETO_OPAQUE | ETO_CLIPPED, &clip,
                    label.c_str(), UINT(label.size()), nullptr);
    }
}

} // namespace

void ProgressDialog::open() {
    if (counters_.fileTotal() == 0 || window())
        return;
    createModeless(environment_.module(), KESTREL_DIALOG_PROGRESS, environment_.parent());
}

void ProgressDialog::showCurrentFile(std::string_view prompt, std::string_view fileName) {
    if (!window())
        return;
    setItemText(KESTREL_PROGRESS_PROMPT, prompt);
    setItemText(KESTREL_PROGRESS_FILE_NAME, lexical::asciiUpper(fileName));
}

void ProgressDialog::step(bool fileFinished) {
    if (window())
        SendMessageA(window(), kProgressStepMessage, fileFinished ? 1 : 0, 0);
}

void ProgressDialog::onInit() {
    place();
    fileBar_ = clientAreaOf(window(), KESTREL_PROGRESS_FILE_BAR);
    downloadBar_ = clientAreaOf(window(), KESTREL_PROGRESS_DOWNLOAD_BAR);
    setItemText(IDCANCEL, environment_.settings().cancelText);
}

void ProgressDialog::onCancel() {
    // Once quit, or while the question is up, a further Cancel asks nothing.
    if (quit_ || asking_)
        return;
    asking_ = true;
    const bool yes = environment_.confirmQuit(window(), "");
    asking_ = false;
    if (!yes || quit_)
        return;
    quit_ = true;
    // Hidden, not destroyed: this handler is still running, and the installation closes the
    // dialog when it acts on the abort.
    ShowWindow(window(), SW_HIDE);
    if (onQuit_)
        onQuit_();
}

std::optional<INT_PTR> ProgressDialog::onMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    // A bar is repainted only when its percentage moves: a large file steps every 50,000
    // bytes, and a synchronous repaint each time would cost more than the copy.
    case kProgressStepMessage: {
        const int32_t before = counters_.filePercent();
        counters_.step(wParam != 0, bytes_);
        if (counters_.filePercent() != before)
            redraw(fileBar_);
        return TRUE;
    }
    case kDownloadPercentMessage: {
        const int32_t before = counters_.downloadPercent();
        counters_.setDownloadPercent(int32_t(wParam));
        if (counters_.downloadPercent() != before)
            redraw(downloadBar_);
        return TRUE;
    }
    case WM_PAINT:
        paint();
        return TRUE;
    default:
        return windowColours(message, wParam);
    }
}

void ProgressDialog::redraw(const Rect& bar) {
    const RECT area = rectOf(bar);
    InvalidateRect(window(), &area, FALSE);
    UpdateWindow(window());
}

void ProgressDialog::paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window(), &paint);
    const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window(), WM_GETFONT, 0, 0)));
    paintBar(dc, fileBar_, counters_.filePercent());
    paintBar(dc, downloadBar_, counters_.downloadPercent());
    EndPaint(window(), &paint);
}

void PopMessageDialog::open(const std::vector<uint8_t>& dialogTemplate) {
    createModeless(dialogTemplate, environment_.module(), nullptr);
}

} // namespace kestrel::ui::win32
