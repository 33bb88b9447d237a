// Fonts as the painting and the screen blocks describe them, made and measured with the
// system's own text functions.
#pragma once

#include "ui/text_measure.h"
#include "ui/win32/gdi.h"

#include <windows.h>

#include <string_view>

namespace kestrel::ui::win32 {

// The font font describes: its character height (the face's default at 0), weight, italic and
// underline, in the ANSI character set, TrueType precision and proof quality.
Font createFont(const MeasureFont& font);

// Measures on a device context: the one given, or the screen's.
class GdiTextMeasure final : public TextMeasure {
  public:
    explicit GdiTextMeasure(HDC dc = nullptr) : dc_(dc) {}

    int baseCharWidth() override;
    int textWidth(const MeasureFont& font, std::string_view text) override;

  private:
    HDC dc_;
};

} // namespace kestrel::ui::win32
