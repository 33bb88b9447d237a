#include "ui/prompt_lines.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

std::string letters(size_t n) {
    std::string text;
    for (size_t i = 0; i < n; ++i)
        text += char('a' + i % 26);
    return text;
}

TEST(PromptLines, SplitsAtOrBeforeCharacter45) {
    const std::string x45 = letters(45);
    struct Case {
        std::string prompt;
        std::vector<std::string> rows;
    } cases[] = {
        {x45, {x45}}, // whole, on the second row
        {x45 + " ", {x45, ""}},
        {x45 + "   tail", {x45, "tail"}},
        {letters(60), {letters(44), letters(60).substr(44)}},
        {"one two " + letters(40), {"one two", letters(40)}},
        {"a" + std::string(1, ' ') + letters(50), {"a", letters(50)}}, // 50 fit the second row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        EXPECT_EQ(splitPrompt(c.prompt).rows, c.rows);
    }

    const PromptLines whole = splitPrompt("Where to?");
    EXPECT_EQ(whole.firstRow(), "");
    EXPECT_EQ(whole.secondRow(), "Where to?");
    EXPECT_EQ(promptExtraHeight(whole), 0);
}

TEST(PromptLines, LongPromptsTakeMoreRowsAndLoseNothing) {
    // 95 characters without a space left 51 for the second row; 200 words of 9 need 5 rows.
    const PromptLines unbroken = splitPrompt(letters(95));
    EXPECT_EQ(unbroken.rows, (std::vector<std::string>{letters(44), letters(95).substr(44, 44),
                                                       letters(95).substr(88)}));
    std::string words;
    for (int i = 0; i < 20; ++i)
        words += "word" + std::to_string(10000 + i) + " ";
    words.pop_back();
    const PromptLines lines = splitPrompt(words);
    std::string joined;
    for (const std::string& row : lines.rows) {
        EXPECT_LE(row.size(), kPromptRowLength + (&row == &lines.rows.back() ? 5 : 0));
        joined += (joined.empty() ? "" : " ") + row;
    }
    EXPECT_EQ(joined, words);
    EXPECT_EQ(lines.rows.size(), 5u);
    EXPECT_EQ(promptExtraHeight(lines), 24);
    EXPECT_EQ(promptRowTop(2), 20);
}

TEST(PromptLines, DefaultsAreNeverSplit) {
    EXPECT_EQ(destinationPromptLines("ignored", false, 3).secondRow(),
              "Please enter the destination drive and directory:");
    EXPECT_EQ(destinationPromptLines("", false, 1).secondRow(),
              "Please enter the destination directory:");
    EXPECT_EQ(destinationPromptLines("", false, 2).secondRow(),
              "Please enter the destination drive:");
    EXPECT_EQ(destinationPromptLines(letters(46), true, 2).rows.size(), 2u);
    EXPECT_EQ(askPromptLines(letters(46), false).rows, (std::vector<std::string>{""}));
    EXPECT_EQ(askPromptLines("Name?", true).secondRow(), "Name?");
}

} // namespace
} // namespace kestrel::ui
