#include "ui/picture_placement.h"

#include <algorithm>
#include <iterator>

namespace kestrel::ui {

namespace {

// The x (or y) of a placed picture: 0, the middle or the far side of the room left.
enum class Edge { Near, Middle, Far };

struct Anchor {
    Edge x;
    Edge y;
};

// Indexed by position code 0..8.
constexpr Anchor kAnchors[] = {
    {Edge::Middle, Edge::Middle}, {Edge::Near, Edge::Near},  {Edge::Middle, Edge::Near},
    {Edge::Far, Edge::Near},      {Edge::Far, Edge::Middle}, {Edge::Far, Edge::Far},
    {Edge::Middle, Edge::Far},    {Edge::Near, Edge::Far},   {Edge::Near, Edge::Middle},
};

int32_t along(Edge edge, int32_t room) {
    return edge == Edge::Near ? 0 : edge == Edge::Middle ? room / 2 : room;
}

int32_t copiesToCover(int32_t length, int32_t step) {
    return int32_t((int64_t(length) + step - 1) / step);
}

} // namespace

PicturePlacement placePicture(Size picture, Size window, int32_t positionCode) {
    PicturePlacement placement;
    if (picture.width <= 0 || picture.height <= 0 || window.width <= 0 || window.height <= 0)
        return placement;
    placement.columns = 1;
    placement.rows = 1;
    if (positionCode == kPositionFullScreen) {
        placement.source = Rect{0, 0, picture.width, picture.height};
        placement.destination = Rect{0, 0, window.width, window.height};
        return placement;
    }

    // A picture larger than the window shows its middle.
    const int32_t w = std::min(picture.width, window.width);
    const int32_t h = std::min(picture.height, window.height);
    const int32_t sourceX = (picture.width - w) / 2;
    const int32_t sourceY = (picture.height - h) / 2;
    placement.source = Rect{sourceX, sourceY, sourceX + w, sourceY + h};
    if (positionCode == kPositionTile) {
        placement.destination = Rect{0, 0, w, h};
        placement.columns = copiesToCover(window.width, w);
        placement.rows = copiesToCover(window.height, h);
        return placement;
    }
    const bool known = positionCode >= 0 && positionCode < int32_t(std::size(kAnchors));
    const Anchor anchor = kAnchors[known ? positionCode : kPositionCentre];
    const int32_t x = along(anchor.x, window.width - w);
    const int32_t y = along(anchor.y, window.height - h);
    placement.destination = Rect{x, y, x + w, y + h};
    return placement;
}

bool needsBackground(std::optional<Size> picture, Size window, int32_t positionCode) {
    if (!picture || picture->width <= 0 || picture->height <= 0)
        return true;
    if (positionCode == kPositionTile || positionCode == kPositionFullScreen)
        return false;
    return picture->width < window.width || picture->height < window.height;
}

} // namespace kestrel::ui
