// One bar of the progress dialog: blue from the left edge to the filled width, white after,
// and a centred label "nn%" that shows white on the blue part and blue on the white part
// (the window side draws the same label twice, each time clipped to one part).
#pragma once

#include "ui/colour.h"
#include "ui/geometry.h"

#include <cstdint>
#include <string>

namespace kestrel::ui {

inline constexpr Colour kBarFilledColour{0, 0, 255};
inline constexpr Colour kBarEmptyColour{255, 255, 255};

// The percentage a bar shows: above 100 is 100, below 0 (a download display that reads
// negative) is 0.
int32_t shownPercent(int32_t percent);
// The bar's label: the shown percentage right-aligned in three places, then "%".
std::string barLabel(int32_t percent);

struct BarLayout {
    Rect filled; // blue background, white label
    Rect empty;  // white background, blue label
    Point labelOrigin;
};

// The parts of bar for percent, with the label centred given its measured extent.
BarLayout layoutBar(Rect bar, int32_t percent, Size labelExtent);

} // namespace kestrel::ui
