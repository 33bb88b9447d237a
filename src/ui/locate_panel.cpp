#include "ui/locate_panel.h"

namespace kestrel::ui {

LocatePanel locatePanel(Size clientSize, int32_t areaWidth) {
    const int32_t w = clientSize.width;
    const int32_t h = clientSize.height;
    const int32_t left = w / 4;
    const int32_t right = 3 * w / 4;
    const int32_t top = 2 * h / 5;
    const int32_t bottom = 3 * h / 5;
    LocatePanel panel;
    panel.shadow = Rect{left - 14, top - 4, right + 14, bottom + 4};
    panel.panel = Rect{left - 8, top, right + 8, bottom};
    panel.line = {Point{left, bottom}, Point{right + 8, bottom}, Point{right + 8, top}};
    panel.textOrigin = Point{w / 2, h / 2};
    panel.fontHeight = int32_t(int64_t(areaWidth) * 24 / 800);
    return panel;
}

} // namespace kestrel::ui
