#include "ui/screen_block.h"

#include "fakes/fixed_width_measure.h"
#include "fakes/line_list_source.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

using test::FixedWidthMeasure;
using test::LineListSource;

const MeasureFont kFont{"Courier", false, false};

TEST(ReadScreenBlock, StoresLinesUpToTheEndKeywordWithTheWidestLinesWidth) {
    LineListSource source({"Welcome to the set-up", " , \t", "Short",
                           "  endfirstscreen: trailing words", "NEXT LINE"});
    FixedWidthMeasure measure(16, 8); // two base widths per character
    TextStore store;

    const ScreenBlockRead read = readScreenBlock(source, "ENDFIRSTSCREEN", kFont, measure, store);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.linesTaken, 4); // the end line counts, the line after it is left unread
    EXPECT_EQ(source.linesServed(), 4u);
    EXPECT_EQ(source.plainReadSwitches, (std::vector<bool>{true, false}));
    EXPECT_EQ(measure.faces, (std::vector<std::string>{"Courier", "Courier"}));

    // Header: 2 text lines, width 21 * 2 - 6 = 36, 3 lines; then the records.
    const std::vector<uint8_t> expected = {
        2,   36,  3,   21,  'W', 'e', 'l', 'c', 'o', 'm', 'e', ' ', 't', 'o', ' ', 't', 'h', 'e',
        ' ', 's', 'e', 't', '-', 'u', 'p', 0,   0,   0,   5,   'S', 'h', 'o', 'r', 't', 0};
    EXPECT_EQ(store.bytes(), expected);
    ScreenBlock block;
    ASSERT_TRUE(store.take(block));
    EXPECT_EQ(block.width, 36);
    EXPECT_EQ(block.lines, (std::vector<std::string>{"Welcome to the set-up", "", "Short"}));
    EXPECT_FALSE(store.take(block)); // taken: the position is behind it
}

TEST(ReadScreenBlock, OnlyTheFirstWordOfLettersEndsTheBlock) {
    LineListSource source({"Exiting is not the end", "EXITS neither", "Exit2 ends it"});
    FixedWidthMeasure measure(1, 8); // narrow lines give no negative width
    TextStore store;
    const ScreenBlockRead read = readScreenBlock(source, "EXIT", kFont, measure, store);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.linesTaken, 3);
    ScreenBlock block;
    ASSERT_TRUE(store.take(block));
    EXPECT_EQ(block.lines.size(), 2u);
    EXPECT_EQ(block.width, 0);
}

TEST(ReadScreenBlock, BlockWithoutItsEndTakesEveryLine) {
    TextStore store;
    FixedWidthMeasure measure(16, 8);
    LineListSource unended({"one", "", "two"});
    const ScreenBlockRead read = readScreenBlock(unended, "ENDPOP", kFont, measure, store);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.linesTaken, 3);
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_EQ(read.warnings[0].message, "no ENDPOP: the block runs to the end of the script");
    EXPECT_EQ(read.warnings[0].lineOffset, 0); // said of the keyword line
    EXPECT_FALSE(unended.plainRead);
    ScreenBlock block;
    ASSERT_TRUE(store.take(block));
    EXPECT_EQ(block.lines, (std::vector<std::string>{"one", "", "two"}));
}

TEST(ReadScreenBlock, BadBlocksAreErrorsAtTheirLine) {
    TextStore store;
    FixedWidthMeasure measure(16, 8);
    ScreenBlockRead read;

    // A 255-character line fits (its width held at 255); one more character is an error.
    const std::string longest(255, 'x');
    LineListSource widest({longest, "ENDPOP"});
    ASSERT_TRUE(readScreenBlock(widest, "ENDPOP", kFont, measure, store).ok());
    ScreenBlock block;
    ASSERT_TRUE(store.take(block));
    EXPECT_EQ(block.width, 255);
    LineListSource tooLong({"fine", longest + "y", "ENDPOP"});
    read = readScreenBlock(tooLong, "ENDPOP", kFont, measure, store);
    EXPECT_TRUE(read.error);
    EXPECT_EQ(read.problem, ScreenBlockError::LineTooLong);
    EXPECT_EQ(read.errorLineOffset, 2);
    EXPECT_EQ(read.errorLine, longest + "y");
    EXPECT_FALSE(tooLong.plainRead);

    // 255 lines fit; the 256th is an error on that line.
    std::vector<std::string> lines(255, "line");
    lines.push_back("ENDGROUP");
    LineListSource most(lines);
    ASSERT_TRUE(readScreenBlock(most, "ENDGROUP", kFont, measure, store).ok());
    lines.insert(lines.begin(), "");
    LineListSource tooMany(lines);
    read = readScreenBlock(tooMany, "ENDGROUP", kFont, measure, store);
    EXPECT_TRUE(read.error);
    EXPECT_EQ(read.problem, ScreenBlockError::TooManyLines);
    EXPECT_EQ(read.errorLineOffset, 256);
    EXPECT_EQ(read.linesTaken, 256);

    FixedWidthMeasure noBase(16, 0); // a base width of 0 must not divide by zero
    LineListSource any({"text", "ENDPOP"});
    EXPECT_TRUE(readScreenBlock(any, "ENDPOP", kFont, noBase, store).ok());
}

} // namespace
} // namespace kestrel::ui
