#include "ui/title_layout.h"

#include <algorithm>

namespace kestrel::ui {

namespace {

constexpr int kLargestAutomaticSize = 40;
constexpr int kSizeStep = 4;
constexpr int kSmallestTriedSize = 5; // sizes below this are taken without measuring
constexpr int kTitleMargin = 20;
// Far above any screen; keeps the negated height in range.
constexpr int32_t kLargestFixedSize = 0x7FFF;

} // namespace

MeasureFont titleFont(std::string_view title, const TitleStyle& style, int32_t areaWidth,
                      TextMeasure& measure) {
    MeasureFont font{style.face, style.italic, style.underline};
    if (style.size != 0) {
        font.height = std::clamp(style.size, -kLargestFixedSize, kLargestFixedSize);
        font.weight = style.bold ? kBoldWeight : kNormalWeight;
        return font;
    }
    font.weight = kBoldWeight;
    const int64_t room = int64_t(areaWidth) - kTitleMargin;
    for (font.height = kLargestAutomaticSize; font.height >= kSmallestTriedSize;
         font.height -= kSizeStep) {
        if (measure.textWidth(font, title) <= room)
            return font;
    }
    return font;
}

} // namespace kestrel::ui
