#include "ui/ask_answer.h"
#include "ui/group_choice.h"
#include "ui/status_number.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(DialogAnswers, AskTrimmingAndGroupChoices) {
    EXPECT_EQ(askAnswer(" \t(,\r\n)John Smith, "), "John Smith, ");
    EXPECT_EQ(askAnswer(" ,() "), "");

    const bool preselected[] = {false, true, false, true};
    EXPECT_EQ(initiallyChecked(preselected, false), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(initiallyChecked(preselected, true), (std::vector<int32_t>{1})); // radio buttons
    EXPECT_EQ(chooseGroup(preselected).selected, (std::vector<int32_t>{1, 3}));
    const bool none[] = {false, false};
    EXPECT_FALSE(chooseGroup(none).accepted);
}

TEST(DialogAnswers, StatusNumberIsSignedDecimalClampedTo32Bits) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {" \t\n+17%", 17},
        {"-8 of 10", -8},
        {"", 0},
        {"- 5", 0},
        {"99999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999", INT32_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(statusNumber(c.text), c.value) << c.text;
}

} // namespace
} // namespace kestrel::ui
