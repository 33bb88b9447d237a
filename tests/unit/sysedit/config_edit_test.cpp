#include "support/after_keyword.h"
#include "support/warnings.h"
#include "sysedit/config_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::sysedit {
namespace {

lexical::ParseStatus parse(ConfigEdit& edit, const std::string& line) {
    auto cursor = test::afterKeyword(line);
    return parseConfig(edit, cursor);
}

TEST(ConfigEdit, ReadsMinimumsAndLines) {
    ConfigEdit edit;
    EXPECT_EQ(edit.filesMinimum, ConfigEdit::kNotGiven);
    ASSERT_TRUE(parse(edit, "CONFIG ADD=\"DEVICE=C:\\KST\\KST.SYS\"").ok());
    EXPECT_EQ(edit.mode, EditMode::Modify);
    EXPECT_EQ(edit.filesMinimum, ConfigEdit::kNotGiven);
    EXPECT_EQ(edit.buffersMinimum, ConfigEdit::kNotGiven);

    ASSERT_TRUE(parse(edit, "CONFIG Ask FILEMIN=30 BUFFERMIN = 20x, add=\"STACKS=9,256\"").ok());
    EXPECT_EQ(edit.mode, EditMode::ModifyThenAsk);
    EXPECT_EQ(edit.filesMinimum, 30);
    EXPECT_EQ(edit.buffersMinimum, 20); // the digits before the first other character
    ASSERT_EQ(edit.lineList.size(), 2u);
    EXPECT_EQ(edit.lineList[0].text(), "DEVICE=C:\\KST\\KST.SYS");
    EXPECT_EQ(edit.lineList[1].text(), "STACKS=9,256");
}

TEST(ConfigEdit, MinimumsAreReadLenientlyButNeverNegative) {
    struct Case {
        const char* line;
        bool error;
        const char* warning; // a fragment of a warning; empty: none
        int32_t files;
    };
    const Case cases[] = {
        {"CONFIG FILES=30", true, "", 0},
        {"CONFIG FILEMIN=-5", true, "", 0}, // FILES = -5 would go into CONFIG.SYS
        {"CONFIG BUFFERMIN=2147483648", true, "", 0},
        {"CONFIG ADD", true, "", 0},
        {"CONFIG ADD=x", true, "", 0},
        {"CONFIG BUFFERMIN=2147483647", false, "", ConfigEdit::kNotGiven},
        // Without '=' the rest of the line goes unread.
        {"CONFIG FILEMIN 30", false, "FILEMIN without '='", ConfigEdit::kNotGiven},
        {"CONFIG BUFFERMIN ADD=\"x\"", false, "BUFFERMIN without '='", ConfigEdit::kNotGiven},
        {"CONFIG FILEMIN=abc", false, "\"abc\" is not a plain number: read as 0", 0},
        {"CONFIG FILEMIN=", false, "no FILEMIN: read as 0", 0},
        {"CONFIG ADD=\"x", false, "", ConfigEdit::kNotGiven},
    };
    for (const Case& c : cases) {
        ConfigEdit edit;
        const lexical::ParseStatus status = parse(edit, c.line);
        EXPECT_EQ(status.error, c.error) << c.line;
        if (c.error)
            continue;
        EXPECT_TRUE(test::warned(status.warnings, c.warning)) << c.line;
        EXPECT_EQ(edit.filesMinimum, c.files) << c.line;
    }
}

} // namespace
} // namespace kestrel::sysedit
