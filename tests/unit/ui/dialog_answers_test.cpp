#include "ui/ask_answer.h"
#include "ui/group_choice.h"
#include "ui/status_number.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(AskAnswer, LeadingSeparatorsGoTrailingOnesStay) {
    EXPECT_EQ(askAnswer(" \t(,\r\n)John Smith, "), "John Smith, ");
    EXPECT_EQ(askAnswer(" ,() "), "");
    EXPECT_EQ(askAnswer("x"), "x");
}

TEST(GroupChoice, PreselectionAndOk) {
    const bool preselected[] = {false, true, false, true};
    EXPECT_EQ(initiallyChecked(preselected, false), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(initiallyChecked(preselected, true), (std::vector<int32_t>{1}));

    const bool checked[] = {true, false, true};
    const GroupChoice choice = chooseGroup(checked);
    EXPECT_TRUE(choice.accepted);
    EXPECT_EQ(choice.selected, (std::vector<int32_t>{0, 2}));
    const bool none[] = {false, false};
    EXPECT_FALSE(chooseGroup(none).accepted);
}

TEST(StatusNumber, SignedDecimalClampedTo32Bits) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"42", 42},
        {" \t\n+17%", 17},
        {"-8 of 10", -8},
        {"", 0},
        {"abc", 0},
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
