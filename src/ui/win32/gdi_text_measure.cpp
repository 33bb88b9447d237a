#include "ui/win32/gdi_text_measure.h"

#include <optional>
#include <string>

namespace kestrel::ui::win32 {

Font createFont(const MeasureFont& font) {
    const std::string face = font.face.substr(0, LF_FACESIZE - 1);
    return Font(CreateFontA(-font.height, 0, 0, 0, font.weight, font.italic ? TRUE : FALSE,
                            font.underline ? TRUE : FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                            CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, face.c_str()));
}

int GdiTextMeasure::baseCharWidth() {
    return LOWORD(GetDialogBaseUnits());
}

int GdiTextMeasure::textWidth(const MeasureFont& font, std::string_view text) {
    std::optional<WindowDc> screen;
    if (!dc_)
        screen.emplace(nullptr);
    const HDC dc = dc_ ? dc_ : screen->get();
    const Font made = createFont(font);
    const Selection selected(dc, made.get());
    SIZE extent{};
    if (!GetTextExtentPoint32A(dc, text.data(), int(text.size()), &extent))
        return 0;
    return extent.cx;
}

} // namespace kestrel::ui::win32
