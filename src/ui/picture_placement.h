// Where the screen picture goes in the plug-in window. A picture larger than the window shows
// its middle; a smaller one sits at the place its position code names, is repeated over the
// whole window (TILE) or is stretched to fill it (FULLSCREEN).
//
// Position codes, as SCREENGRAPHIC stores them (dx and dy are the room left beside the
// picture):
//
//   0 centre (dx/2, dy/2)   1 TOPLEFT (0, 0)        2 TOPMIDDLE (dx/2, 0)   3 TOPRIGHT (dx, 0)
//   4 MIDDLERIGHT (dx, dy/2)  5 BOTTOMRIGHT (dx, dy)  6 BOTTOMMIDDLE (dx/2, dy)
//   7 BOTTOMLEFT (0, dy)    8 MIDDLELEFT (0, dy/2)  9 TILE   10 FULLSCREEN
//
// Any other code is drawn centred.
#pragma once

#include "ui/geometry.h"

#include <cstdint>
#include <optional>

namespace kestrel::ui {

inline constexpr int32_t kPositionCentre = 0;
inline constexpr int32_t kPositionTile = 9;
inline constexpr int32_t kPositionFullScreen = 10;

// columns × rows copies of source (picture coordinates, top row 0), the first at
// destination, each next one destination's width or height further on. The destination is
// larger than the source when the picture is stretched.
struct PicturePlacement {
    Rect source;
    Rect destination;
    int32_t columns = 0;
    int32_t rows = 0;

    bool empty() const { return columns <= 0 || rows <= 0; }
    bool stretched() const {
        return source.width() != destination.width() || source.height() != destination.height();
    }
    friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// The drawing of a picture of size picture in a client area of size window. An empty
// picture or window draws nothing.
PicturePlacement placePicture(Size picture, Size window, int32_t positionCode);

// Whether the gradient must be painted under the picture: always without a picture, never
// when the picture covers the window whatever its size (TILE, FULLSCREEN), otherwise when it
// is narrower or lower than the window.
bool needsBackground(std::optional<Size> picture, Size window, int32_t positionCode);

} // namespace kestrel::ui
