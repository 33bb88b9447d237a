#include "lexical/macros.h"
#include "support/after_keyword.h"
#include "support/warnings.h"
#include "sysedit/win_item_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::sysedit {
namespace {

lexical::Parsed<WinItemEntry> parse(const std::string& line,
                                    const lexical::MacroVariables* macros = nullptr) {
    auto cursor = test::afterKeyword(line, macros);
    return parseWinItemEntry(cursor);
}

TEST(WinItemEntry, ReadsEveryFieldOfTheFullForm) {
    lexical::MacroVariables macros;
    auto entry = parse("WINITEM \"Tools\", \"$DEFAULTDIR$\\app.exe /q\" \"My App\" \"C:\\APP\\\" "
                       "\"$LOCATEDIR$\\app.ico\" 2",
                       &macros);
    EXPECT_FALSE(entry.error);
    EXPECT_EQ(entry.item.group, "Tools");
    EXPECT_EQ(entry.item.commandLine, "$DEFAULTDIR$\\app.exe /q"); // expanded when the item is made
    EXPECT_EQ(entry.item.itemName, "My App");
    EXPECT_EQ(entry.item.defaultDirectory, "C:\\APP\\");
    EXPECT_EQ(entry.item.iconPath, "C:\\NEWFILES\\app.ico"); // field-start macro of the reader
    EXPECT_EQ(entry.item.iconIndex, "2");
    EXPECT_EQ(entry.item.mode, WinItemMode::Add);

    // A fourth field without a trailing backslash is the icon file.
    auto noDir = parse("WINITEM \"Tools\" \"a.exe\" \"A\" \"a.ico\" 3");
    EXPECT_FALSE(noDir.error);
    EXPECT_EQ(noDir.item.defaultDirectory, "");
    EXPECT_EQ(noDir.item.iconPath, "a.ico");
    EXPECT_EQ(noDir.item.iconIndex, "3");
}

TEST(WinItemEntry, LaterFieldsMayBeLeftOff) {
    auto groupOnly = parse("WINITEM \"Games\"");
    EXPECT_FALSE(groupOnly.error);
    EXPECT_EQ(groupOnly.item.group, "Games");
    EXPECT_EQ(groupOnly.item.commandLine, "");

    auto dirOnly = parse("WINITEM \"G\" \"a.exe\" \"A\" \"C:\\A\\\"");
    EXPECT_FALSE(dirOnly.error);
    EXPECT_EQ(dirOnly.item.defaultDirectory, "C:\\A\\");
    EXPECT_EQ(dirOnly.item.iconPath, "");
}

TEST(WinItemEntry, ModeWordFollowsTheLastCommaWhereverItStands) {
    EXPECT_EQ(parse("WINITEM \"G\" \"a.exe\" \"A\", replace").item.mode, WinItemMode::Replace);
    EXPECT_EQ(parse("WINITEM \"G\" \"a.exe\" \"A\" ,REPLACEMENT").item.mode, WinItemMode::Replace);
    auto remove = parse("WINITEM \"G\",  Remove");
    EXPECT_EQ(remove.item.mode, WinItemMode::Remove);
    EXPECT_FALSE(remove.error);
    EXPECT_EQ(remove.item.group, "G");

    auto quotedWord = parse("WINITEM \"G\" \"a.exe\" \"A\", \"replace\"");
    EXPECT_EQ(quotedWord.item.mode, WinItemMode::Add);
    EXPECT_EQ(quotedWord.item.iconPath, "replace");

    // Inside quotes the comma still ends the line; the field it cut reads as empty.
    auto inTitle = parse("WINITEM \"G\" \"a.exe\" \"Edit, replace it\"");
    EXPECT_FALSE(inTitle.error);
    EXPECT_EQ(inTitle.item.mode, WinItemMode::Replace);
    EXPECT_EQ(inTitle.item.commandLine, "a.exe");
    EXPECT_EQ(inTitle.item.itemName, "");
    EXPECT_TRUE(test::warned(inTitle.warnings, "inside quotes"));
    // Unless that turns an added item into the removal of its whole group.
    EXPECT_TRUE(parse("WINITEM \"G\" \"a.exe, remove\" \"A\"").error);
}

TEST(WinItemEntry, ALineTakesWhateverFieldsItHas) {
    struct Case {
        std::string line;
        const char* warning; // a fragment of a warning
        const char* group;
        const char* iconIndex;
    };
    const Case cases[] = {
        {"WINITEM", "without a group name", "", ""},
        {"WINITEM \"\" \"a.exe\"", "without a group name", "", ""},
        // Unquoted fields read as empty, and the word they leave is the icon index.
        {"WINITEM Games \"a.exe\"", "unquoted field", "", "Games"},
        {"WINITEM \"G\" a.exe", "unquoted field", "G", "a.exe"},
        {"WINITEM \"G\" \"a.exe", "unterminated quote", "G", ""},
        {"WINITEM \"G\" \"a.exe\" \"A\" \"a.ico\" 0 replace", "text after", "G", "0"},
    };
    for (const Case& c : cases) {
        const auto entry = parse(c.line);
        EXPECT_FALSE(entry.error) << c.line;
        EXPECT_TRUE(test::warned(entry.warnings, c.warning)) << c.line;
        EXPECT_EQ(entry.item.group, c.group) << c.line;
        EXPECT_EQ(entry.item.iconIndex, c.iconIndex) << c.line;
    }
    // A field longer than its place cannot be kept.
    EXPECT_TRUE(parse("WINITEM \"" + std::string(499, 'g') + "\"").error);
    EXPECT_FALSE(parse("WINITEM \"" + std::string(498, 'g') + "\"").error);
}

} // namespace
} // namespace kestrel::sysedit
