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

TEST(PromptLines, SplitsAtOrBeforeCharacter45AndLosesNothing) {
    const std::string x45 = letters(45);
    struct Case {
        std::string prompt;
        std::vector<std::string> rows;
    } cases[] = {
        {x45, {x45}}, // whole, on the second row
        {x45 + "   tail", {x45, "tail"}},
        {letters(60), {letters(44), letters(60).substr(44)}},
        {"one two " + letters(40), {"one two", letters(40)}},
        {"a " + letters(50), {"a", letters(50)}}, // 50 fit the second row
        // 95 without a space would leave 51: split again.
        {letters(95), {letters(44), letters(95).substr(44, 44), letters(95).substr(88)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitPrompt(c.prompt).rows, c.rows) << c.prompt;

    std::string words; // 20 words of 9: four to a row
    for (int i = 0; i < 20; ++i)
        words += (i ? " word" : "word") + std::to_string(10000 + i);
    const PromptLines lines = splitPrompt(words);
    std::string joined;
    for (const std::string& row : lines.rows)
        joined += (joined.empty() ? "" : " ") + row;
    EXPECT_EQ(joined, words);
    EXPECT_EQ(lines.rows.size(), 5u);
    EXPECT_EQ(promptExtraHeight(lines), 24);

    // Default prompts are never split; an ASK dialog has none.
    const PromptLines both = destinationPromptLines("ignored", false, 3);
    EXPECT_EQ(both.firstRow(), "");
    EXPECT_EQ(both.secondRow(), "Please enter the destination drive and directory:");
    EXPECT_EQ(destinationPromptLines(letters(46), true, 2).rows.size(), 2u);
    EXPECT_EQ(askPromptLines(letters(46), false).rows, (std::vector<std::string>{""}));
}

} // namespace
} // namespace kestrel::ui
