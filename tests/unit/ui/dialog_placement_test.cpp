#include "ui/dialog_placement.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(DialogPlacement, CentredInThePluginAreaWithPopupsAboveTheProgress) {
    const PluginArea area{100, 50, 800, 600};
    std::optional<PopupPlace> popup;
    EXPECT_EQ(placeDialog(DialogKind::Progress, area, {300, 100}, popup), (Point{350, 300}));
    EXPECT_EQ(placeDialog(DialogKind::Prompt, area, {301, 600}, popup), (Point{349, 50}));
    // Taller than the area: bottom edges aligned (an ASK dialog stays centred).
    EXPECT_EQ(placeDialog(DialogKind::Prompt, area, {300, 700}, popup), (Point{350, -50}));
    EXPECT_EQ(placeDialog(DialogKind::Ask, area, {300, 700}, popup), (Point{350, 0}));
    EXPECT_FALSE(popup);

    // (600 - 100 - 244) / 2 + 60 = 188 below the top; the progress dialog 24 below the popup.
    EXPECT_EQ(placeDialog(DialogKind::PopMessage, area, {200, 100}, popup), (Point{400, 238}));
    EXPECT_EQ(placeDialog(DialogKind::Progress, area, {300, 100}, popup), (Point{350, 362}));
    // A popup taller than the room: (300 - 400 - 244) / 2 truncates towards 0; recorded at
    // screen top 0 it still counts as shown.
    const PluginArea low{0, 112, 800, 300};
    EXPECT_EQ(placeDialog(DialogKind::PopMessage, low, {200, 400}, popup), (Point{300, 0}));
    EXPECT_EQ(placeDialog(DialogKind::Progress, low, {300, 100}, popup), (Point{250, 424}));
}

} // namespace
} // namespace kestrel::ui
