// The script's title on the plug-in window: drawn once in black three pixels down and to the
// right, then in the title colour over it, so that it stands on a shadow. A title size of 0
// picks the largest size in steps of 4 from 40 down whose bold text fits the plug-in area
// less 20 pixels, or 4 when none does.
#pragma once

#include "ui/colour.h"
#include "ui/geometry.h"
#include "ui/text_measure.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::ui {

inline constexpr int kNormalWeight = 400;
inline constexpr int kBoldWeight = 700;
inline constexpr Point kTitleShadowOrigin{23, 23};
inline constexpr Point kTitleOrigin{20, 20};
inline constexpr Colour kTitleShadowColour{0, 0, 0};

// How the script asks for the title to be drawn (the TITLE options).
struct TitleStyle {
    std::string face = "Arial";
    int32_t size = 0; // character height in pixels; 0 picks one
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The font the title is drawn in: its height is the character height (the window side hands
// CreateFont its negative). A size of 0 measures the title through measure.
MeasureFont titleFont(std::string_view title, const TitleStyle& style, int32_t areaWidth,
                      TextMeasure& measure);

} // namespace kestrel::ui
