#include "ui/progress_bar.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::ui {

int32_t shownPercent(int32_t percent) {
    return std::clamp(percent, 0, 100);
}

std::string barLabel(int32_t percent) {
    char label[8];
    std::snprintf(label, sizeof label, "%3d%%", int(shownPercent(percent)));
    return label;
}

BarLayout layoutBar(Rect bar, int32_t percent, Size labelExtent) {
    const int32_t filledWidth = int32_t(int64_t(bar.width()) * shownPercent(percent) / 100);
    const int32_t split = bar.left + filledWidth;
    BarLayout layout;
    layout.filled = Rect{bar.left, bar.top, split, bar.bottom};
    layout.empty = Rect{split, bar.top, bar.right, bar.bottom};
    layout.labelOrigin = Point{bar.left + (bar.width() - labelExtent.width) / 2,
                               bar.top + (bar.height() - labelExtent.height) / 2};
    return layout;
}

} // namespace kestrel::ui
