#include "support/after_keyword.h"
#include "sysedit/autoexec_edit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kestrel::sysedit {
namespace {

lexical::ParseStatus parse(AutoexecEdit& edit, const std::string& line) {
    auto cursor = test::afterKeyword(line);
    return parseAutoexec(edit, cursor);
}

TEST(AutoexecEdit, LinesAddUpInOneEdit) {
    AutoexecEdit edit;
    ASSERT_TRUE(parse(edit, "AUTOEXEC ADDPATH=\"C:\\DOS\" ADD=\"echo hi\"").ok());
    EXPECT_EQ(edit.mode, EditMode::Modify);
    EXPECT_FALSE(edit.addDestination);
    EXPECT_FALSE(edit.shareWanted);

    ASSERT_TRUE(parse(edit, "AUTOEXEC: ask AddPath, ADDPATH = \"$DEFAULTDIR$\\BIN\" "
                            "SHARE=\"/f: 4096 /L:40\" ADD=\"SET KST=\"\"1\"\"\"")
                    .ok());
    EXPECT_EQ(edit.mode, EditMode::ModifyThenAsk);
    EXPECT_TRUE(edit.addDestination);
    ASSERT_EQ(edit.pathList.size(), 2u);
    EXPECT_EQ(edit.pathList[0].text(), "C:\\DOS");
    EXPECT_EQ(edit.pathList[1].text(), "$DEFAULTDIR$\\BIN");
    ASSERT_EQ(edit.lineList.size(), 2u);
    EXPECT_EQ(edit.lineList[1].text(), "SET KST=\"1\"");
    EXPECT_EQ(edit.lineList[1].flag, 1); // still to be added
    EXPECT_TRUE(edit.shareWanted);
    EXPECT_EQ(edit.shareFiles, 4096);
    EXPECT_EQ(edit.shareLocks, 40);

    // A later line without ASK does not take the question back.
    ASSERT_TRUE(parse(edit, "AUTOEXEC SHARE").ok());
    EXPECT_EQ(edit.mode, EditMode::ModifyThenAsk);
    EXPECT_EQ(edit.shareFiles, 4096);
}

TEST(AutoexecEdit, SyntaxErrors) {
    for (const char* line : {
             "AUTOEXEC PATH=\"C:\\DOS\"",
             "AUTOEXEC ADD",
             "AUTOEXEC ADD \"echo\"",
             "AUTOEXEC ADD=echo",
             "AUTOEXEC ADD=\"echo",
             "AUTOEXEC ADDPATH=",
             "AUTOEXEC ADDPATH=C:\\DOS",
             "AUTOEXEC SHARE=\"/F:4294967296\"",
             "AUTOEXEC =\"x\"",
         }) {
        AutoexecEdit edit;
        EXPECT_TRUE(parse(edit, line).error) << line;
    }
}

TEST(AutoexecEdit, ShareValuesAreReadFromUpperCasedText) {
    std::string line = "c:\\dos\\share.exe /l:500";
    ShareValues values;
    EXPECT_TRUE(readShareValues(line, values));
    EXPECT_EQ(line, "C:\\DOS\\SHARE.EXE /L:500");
    EXPECT_EQ(values.files, 0);
    EXPECT_EQ(values.locks, 500);

    std::string spaced = "SHARE /F:\t 12x /L:";
    EXPECT_TRUE(readShareValues(spaced, values));
    EXPECT_EQ(values.files, 12);
    EXPECT_EQ(values.locks, 0);

    std::string huge = "SHARE /F:99999999999";
    EXPECT_FALSE(readShareValues(huge, values));
    EXPECT_EQ(values.files, INT32_MAX);
}

} // namespace
} // namespace kestrel::sysedit
