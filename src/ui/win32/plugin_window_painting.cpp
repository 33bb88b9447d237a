#include "ui/win32/plugin_window_painting.h"

#include "ui/locate_panel.h"
#include "ui/picture_placement.h"
#include "ui/screen_background.h"
#include "ui/win32/gdi_text_measure.h"

#include <optional>
#include <string>

namespace kestrel::ui::win32 {

namespace {

void drawText(HDC dc, Point origin, std::string_view text) {
    TextOutA(dc, origin.x, origin.y, text.data(), int(text.size()));
}

} // namespace

void paintBackdrop(HDC dc, Size client, const Backdrop& backdrop) {
    const std::optional<Size> pictureSize =
        backdrop.picture ? std::optional<Size>(backdrop.picture->size()) : std::nullopt;
    if (needsBackground(pictureSize, client, backdrop.positionCode)) {
        for (const Band& band : backgroundBands(backdrop.top, backdrop.bottom, client.height))
            fillRect(dc, Rect{0, band.top, client.width, band.bottom}, band.colour);
    }
    if (backdrop.picture)
        backdrop.picture->draw(dc, client, backdrop.positionCode);
}

TitleStyle titleStyleOf(const script::TitleFont& font) {
    return TitleStyle{font.face, font.size, font.bold, font.italic, font.underline};
}

void paintTitle(HDC dc, std::string_view title, const TitleStyle& style, Colour colour,
                int32_t areaWidth) {
    GdiTextMeasure measure(dc);
    const Font font = createFont(titleFont(title, style, areaWidth, measure));
    const Selection selected(dc, font.get());
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, colorOf(kTitleShadowColour));
    drawText(dc, kTitleShadowOrigin, title);
    SetTextColor(dc, colorOf(colour));
    drawText(dc, kTitleOrigin, title);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}

void paintLocatePanel(HDC dc, Size client, int32_t areaWidth, std::string_view screenFace,
                      std::string_view prompt) {
    const LocatePanel panel = locatePanel(client, areaWidth);
    const std::string face(screenFace.substr(0, LF_FACESIZE - 1));
    const Font font(CreateFontA(panel.fontHeight, 0, 0, 0, kLocateFontWeight, FALSE, FALSE, FALSE,
                                ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                DEFAULT_PITCH, face.c_str()));
    const Selection selectedFont(dc, font.get());
    const Selection defaultPen(dc, GetStockObject(BLACK_PEN));
    {
        const Brush shadow(CreateSolidBrush(colorOf(kLocateShadowColour)));
        const Selection selected(dc, shadow.get());
        Rectangle(dc, panel.shadow.left, panel.shadow.top, panel.shadow.right, panel.shadow.bottom);
    }
    {
        const Brush white(CreateSolidBrush(colorOf(kLocatePanelColour)));
        const Selection selected(dc, white.get());
        Rectangle(dc, panel.panel.left, panel.panel.top, panel.panel.right, panel.panel.bottom);
    }
    {
        const Pen line(CreatePen(PS_SOLID, 1, colorOf(kLocateLineColour)));
        const Selection selected(dc, line.get());
        MoveToEx(dc, panel.line[0].x, panel.line[0].y, nullptr);
        LineTo(dc, panel.line[1].x, panel.line[1].y);
        LineTo(dc, panel.line[2].x, panel.line[2].y);
    }
    const UINT previousAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, colorOf(kLocateTextColour));
    drawText(dc, panel.textOrigin, prompt);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
    SetTextAlign(dc, previousAlign);
}

void showLocatePanel(HWND window, int32_t areaWidth, std::string_view screenFace,
                     std::string_view prompt) {
    RECT client{};
    GetClientRect(window, &client);
    {
        const WindowDc dc(window);
        if (!dc.get())
            return;
        paintLocatePanel(dc.get(), Size{client.right, client.bottom}, areaWidth, screenFace,
                         prompt);
    }
    UpdateWindow(window);
}

} // namespace kestrel::ui::win32
