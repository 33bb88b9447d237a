#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "sysedit/win_item_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::sysedit {
namespace {

std::unique_ptr<WinItemEntry> parse(const std::string& line,
                                    const lexical::MacroVariables* macros = nullptr) {
    lexical::FieldCursor cursor(line, macros);
    cursor.readKeyword();
    return parseWinItemEntry(cursor);
}

TEST(WinItemEntry, ReadsEveryFieldOfTheFullForm) {
    lexical::MacroVariables macros;
    auto entry = parse("WINITEM \"Tools\", \"$DEFAULTDIR$\\app.exe /q\" \"My App\" \"C:\\APP\\\" "
                       "\"$LOCATEDIR$\\app.ico\" 2",
                       &macros);
    EXPECT_FALSE(entry->error);
    EXPECT_EQ(entry->group, "Tools");
    EXPECT_EQ(entry->commandLine, "$DEFAULTDIR$\\app.exe /q"); // expanded when the item is made
    EXPECT_EQ(entry->itemName, "My App");
    EXPECT_EQ(entry->defaultDirectory, "C:\\APP\\");
    EXPECT_EQ(entry->iconPath, "C:\\NEWFILES\\app.ico"); // field-start macro of the reader
    EXPECT_EQ(entry->iconIndex, "2");
    EXPECT_EQ(entry->mode, WinItemMode::Add);

    // A fourth field without a trailing backslash is the icon file.
    auto noDir = parse("WINITEM \"Tools\" \"a.exe\" \"A\" \"a.ico\" 3");
    EXPECT_FALSE(noDir->error);
    EXPECT_EQ(noDir->defaultDirectory, "");
    EXPECT_EQ(noDir->iconPath, "a.ico");
    EXPECT_EQ(noDir->iconIndex, "3");
}

TEST(WinItemEntry, LaterFieldsMayBeLeftOff) {
    auto groupOnly = parse("WINITEM \"Games\"");
    EXPECT_FALSE(groupOnly->error);
    EXPECT_EQ(groupOnly->group, "Games");
    EXPECT_EQ(groupOnly->commandLine, "");

    auto dirOnly = parse("WINITEM \"G\" \"a.exe\" \"A\" \"C:\\A\\\"");
    EXPECT_FALSE(dirOnly->error);
    EXPECT_EQ(dirOnly->defaultDirectory, "C:\\A\\");
    EXPECT_EQ(dirOnly->iconPath, "");
}

TEST(WinItemEntry, TrailingModeWordIsRecognisedOnlyOutsideQuotes) {
    EXPECT_EQ(parse("WINITEM \"G\" \"a.exe\" \"A\", replace")->mode, WinItemMode::Replace);
    EXPECT_EQ(parse("WINITEM \"G\" \"a.exe\" \"A\" ,REPLACEMENT")->mode, WinItemMode::Replace);
    auto remove = parse("WINITEM \"G\",  Remove");
    EXPECT_EQ(remove->mode, WinItemMode::Remove);
    EXPECT_FALSE(remove->error);
    EXPECT_EQ(remove->group, "G");

    auto quotedWord = parse("WINITEM \"G\" \"a.exe\" \"A\", \"replace\"");
    EXPECT_EQ(quotedWord->mode, WinItemMode::Add);
    EXPECT_EQ(quotedWord->iconPath, "replace");

    auto commaInField = parse("WINITEM \"G\" \"a.exe, remove\" \"A\"");
    EXPECT_EQ(commaInField->mode, WinItemMode::Add);
    EXPECT_EQ(commaInField->commandLine, "a.exe, remove");
    EXPECT_FALSE(commaInField->error);
}

TEST(WinItemEntry, MalformedLinesAreErrors) {
    EXPECT_TRUE(parse("WINITEM")->error);
    EXPECT_TRUE(parse("WINITEM \"\" \"a.exe\"")->error);
    EXPECT_TRUE(parse("WINITEM Games \"a.exe\"")->error);
    EXPECT_TRUE(parse("WINITEM \"G\" a.exe")->error);
    EXPECT_TRUE(parse("WINITEM \"G\" \"a.exe")->error);
    EXPECT_TRUE(parse("WINITEM \"G\" \"a.exe\" \"A\" \"a.ico\" 0 replace")->error);
    EXPECT_TRUE(parse("WINITEM \"" + std::string(499, 'g') + "\"")->error);
    EXPECT_FALSE(parse("WINITEM \"" + std::string(498, 'g') + "\"")->error);
}

} // namespace
} // namespace kestrel::sysedit
