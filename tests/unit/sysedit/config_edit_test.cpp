#include "support/after_keyword.h"
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

TEST(ConfigEdit, SyntaxErrors) {
    for (const char* line : {
             "CONFIG FILES=30",
             "CONFIG FILEMIN 30",
             "CONFIG BUFFERMIN ADD=\"x\"",
             "CONFIG FILEMIN=abc",
             "CONFIG FILEMIN=-5",
             "CONFIG FILEMIN=",
             "CONFIG BUFFERMIN=2147483648",
             "CONFIG ADD",
             "CONFIG ADD=x",
             "CONFIG ADD=\"x",
         }) {
        ConfigEdit edit;
        EXPECT_TRUE(parse(edit, line).error) << line;
    }
    ConfigEdit edit;
    EXPECT_TRUE(parse(edit, "CONFIG BUFFERMIN=2147483647").ok());
}

} // namespace
} // namespace kestrel::sysedit
