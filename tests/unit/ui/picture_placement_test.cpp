#include "ui/picture_placement.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(PicturePlacement, EveryPositionCode) {
    // 100 x 50 in 401 x 300 leaves dx 301, dy 250: a picture at the far side ends on the
    // window's last column and row. Code 11 is unknown and drawn centred.
    const Point expected[] = {{150, 125}, {0, 0},     {150, 0}, {301, 0}, {301, 125},
                              {301, 250}, {150, 250}, {0, 250}, {0, 125}, {150, 125}};
    for (int32_t code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 11}) {
        const PicturePlacement p = placePicture({100, 50}, {401, 300}, code);
        const Point at = expected[code == 11 ? 9 : code];
        EXPECT_EQ(p.destination, (Rect{at.x, at.y, at.x + 100, at.y + 50})) << code;
        EXPECT_EQ(p.source, (Rect{0, 0, 100, 50}));
        EXPECT_EQ(p.columns * p.rows, 1);
    }
    const PicturePlacement tiled = placePicture({100, 50}, {401, 300}, kPositionTile);
    EXPECT_EQ(tiled.destination, (Rect{0, 0, 100, 50}));
    EXPECT_EQ(tiled.columns, 5); // the fifth starts on the last column
    EXPECT_EQ(tiled.rows, 6);
    const PicturePlacement stretched = placePicture({100, 50}, {401, 300}, kPositionFullScreen);
    EXPECT_EQ(stretched.source, (Rect{0, 0, 100, 50}));
    EXPECT_EQ(stretched.destination, (Rect{0, 0, 401, 300}));

    // Larger than the window: the middle shows, and one tile does across.
    const PicturePlacement large = placePicture({500, 90}, {200, 100}, kPositionTile);
    EXPECT_EQ(large.source, (Rect{150, 0, 350, 90}));
    EXPECT_EQ(large.columns, 1);
    EXPECT_EQ(large.rows, 2);
    EXPECT_TRUE(placePicture({0, 10}, {200, 100}, kPositionTile).empty());
}

TEST(PicturePlacement, BackgroundIsPaintedWhereThePictureLeavesRoom) {
    const Size window{200, 100};
    EXPECT_TRUE(needsBackground(std::nullopt, window, kPositionTile));
    EXPECT_FALSE(needsBackground(Size{10, 10}, window, kPositionTile));
    EXPECT_FALSE(needsBackground(Size{10, 10}, window, kPositionFullScreen));
    EXPECT_TRUE(needsBackground(Size{300, 99}, window, 1));
    EXPECT_FALSE(needsBackground(Size{200, 100}, window, 0)); // covers it exactly
}

} // namespace
} // namespace kestrel::ui
