#include "ui/colour.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(ParseColour, NumbersNamesAndUnknownNames) {
    Colour colour{1, 2, 3};
    parseColour("0,128,255", colour);
    EXPECT_EQ(colour, (Colour{0, 128, 255}));

    parseColour("Purple", colour); // unknown: unchanged
    EXPECT_EQ(colour, (Colour{0, 128, 255}));
    parseColour("white", colour);
    EXPECT_EQ(colour, (Colour{255, 255, 255}));
    parseColour("mAgEnTa", colour);
    EXPECT_EQ(colour, (Colour{255, 0, 255}));

    parseColour("300, -1 ,7", colour); // each number kept as its low byte
    EXPECT_EQ(colour, (Colour{44, 255, 7}));
    parseColour("12,34", colour); // a missing number reads as 0
    EXPECT_EQ(colour, (Colour{12, 34, 0}));
}

} // namespace
} // namespace kestrel::ui
