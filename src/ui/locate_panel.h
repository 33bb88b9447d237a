// The panel drawn across the plug-in window while the disks are searched: a dark shadow, a
// white panel over it, a black line along the panel's bottom and right edges, and the locate
// prompt centred on the window. All of it scales with the window.
#pragma once

#include "ui/colour.h"
#include "ui/geometry.h"

#include <array>
#include <cstdint>

namespace kestrel::ui {

inline constexpr Colour kLocateShadowColour{63, 63, 63};
inline constexpr Colour kLocatePanelColour{255, 255, 255};
inline constexpr Colour kLocateLineColour{0, 0, 0};
inline constexpr Colour kLocateTextColour{0, 0, 0};
inline constexpr int kLocateFontWeight = 600;

struct LocatePanel {
    Rect shadow;               // filled dark, framed with the default pen
    Rect panel;                // filled white, framed with the default pen
    std::array<Point, 3> line; // a polyline, black, 1 pixel
    Point textOrigin;          // centre and baseline of the prompt
    int32_t fontHeight = 0;    // of the screen font face
};

// The panel for a client area of clientSize, with a font that grows with the plug-in area's
// width (24 pixels at 800).
LocatePanel locatePanel(Size clientSize, int32_t areaWidth);

} // namespace kestrel::ui
