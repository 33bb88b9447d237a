#include "ui/title_layout.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

// Characters half as wide as the font is high; remembers the heights it measured.
class HeightScaledMeasure : public TextMeasure {
  public:
    int baseCharWidth() override { return 8; }
    int textWidth(const MeasureFont& font, std::string_view text) override {
        tried.push_back(font.height);
        return int(text.size()) * font.height / 2;
    }
    std::vector<int> tried;
};

TEST(TitleFont, AutomaticSizeIsTheLargestStepOfFourThatFits) {
    const std::string title(20, 'T'); // 10 pixels per pixel of height
    struct Case {
        int32_t areaWidth;
        int height;
        size_t measured;
    } cases[] = {
        {420, 40, 1}, // 400 <= 420 - 20
        {419, 36, 2},
        {300, 28, 4},
        {20, 4, 9}, // nothing fits: 40 .. 8 measured, then 4 without measuring
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.areaWidth);
        HeightScaledMeasure measure;
        const MeasureFont font =
            titleFont(title, TitleStyle{"Times", 0, false, true, false}, c.areaWidth, measure);
        EXPECT_EQ(font.height, c.height);
        EXPECT_EQ(font.weight, kBoldWeight); // whatever the bold flag
        EXPECT_TRUE(font.italic);
        EXPECT_EQ(measure.tried.size(), c.measured);
    }

    HeightScaledMeasure unused;
    const MeasureFont fixed = titleFont(title, TitleStyle{"Arial", 12, false}, 10, unused);
    EXPECT_EQ(fixed.height, 12);
    EXPECT_EQ(fixed.weight, kNormalWeight);
    EXPECT_TRUE(unused.tried.empty());
    EXPECT_EQ(titleFont(title, TitleStyle{"Arial", INT32_MIN, true}, 10, unused).height, -0x7FFF);
}

} // namespace
} // namespace kestrel::ui
