#include "ui/screen_background.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(BackgroundBands, EightPixelBandsStepFromTopToBottomColour) {
    const Colour blue{0, 0, 255};
    const Colour black{0, 0, 0};
    const std::vector<Band> bands = backgroundBands(blue, black, 400);
    ASSERT_EQ(bands.size(), 51u);
    for (size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].top, int32_t(8 * i));
        EXPECT_EQ(bands[i].bottom, int32_t(8 * i + 8));
        EXPECT_EQ(bands[i].colour, (Colour{0, 0, uint8_t(255 - 5 * i)}));
    }

    // A step keeps its sign per component: red rises while green falls; 100 / 2 steps = 50.
    EXPECT_EQ(
        backgroundBands({0, 200, 9}, {100, 100, 9}, 23),
        (std::vector<Band>{{0, 8, {0, 200, 9}}, {8, 16, {50, 150, 9}}, {16, 24, {100, 100, 9}}}));

    // One flat band: equal colours, or no room for a step (in the top colour).
    EXPECT_EQ(backgroundBands(blue, blue, 400), (std::vector<Band>{{0, 400, blue}}));
    EXPECT_EQ(backgroundBands(blue, black, 7), (std::vector<Band>{{0, 7, blue}}));
    EXPECT_TRUE(backgroundBands(blue, black, 0).empty());
}

} // namespace
} // namespace kestrel::ui
