#include "support/after_keyword.h"
#include "support/warnings.h"
#include "sysedit/ini_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::sysedit {
namespace {

lexical::Parsed<IniEdit> parse(const std::string& line) {
    auto cursor = test::afterKeyword(line);
    return parseIniFile(cursor);
}

TEST(IniEdit, ReadsFieldsAndOptions) {
    auto full =
        parse("INIFILE \"Kestrel\" \"Path\" \"$DEFAULTDIR$\" \"kst.ini\" ask ADD OVERWRITE");
    EXPECT_FALSE(full.error);
    EXPECT_EQ(full.item.section, "Kestrel");
    EXPECT_EQ(full.item.key, "Path");
    EXPECT_EQ(full.item.value, "$DEFAULTDIR$");
    EXPECT_EQ(full.item.file, "kst.ini");
    EXPECT_EQ(full.item.mode, EditMode::ModifyThenAsk);
    EXPECT_TRUE(full.item.add);

    auto defaults = parse("INIFILE \"windows\" \"load\"");
    EXPECT_FALSE(defaults.error);
    EXPECT_EQ(defaults.item.value, "");
    EXPECT_EQ(defaults.item.file, "WIN.INI");
    EXPECT_EQ(defaults.item.mode, EditMode::Modify);
    EXPECT_FALSE(defaults.item.add);

    // An option word where the file may stand is the option, not a file of that name.
    auto optionFirst = parse("INIFILE \"s\" \"k\" \"v\" ADD ASK");
    EXPECT_FALSE(optionFirst.error);
    EXPECT_EQ(optionFirst.item.file, "WIN.INI");
    EXPECT_TRUE(optionFirst.item.add);
    EXPECT_EQ(optionFirst.item.mode, EditMode::ModifyThenAsk);
}

TEST(IniEdit, MissingOrUnquotedFieldsAreEmpty) {
    struct Case {
        std::string line;
        bool error;
        const char* warning; // a fragment of a warning; empty: none
        const char* file;
    };
    const Case cases[] = {
        {"INIFILE \"s\" \"k\" \"v\" win.ini QUIET", true, "", ""},
        {"INIFILE \"" + std::string(499, 's') + "\" \"k\"", true, "", ""},
        {"INIFILE \"" + std::string(498, 's') + "\" \"k\"", false, "", "WIN.INI"},
        {"INIFILE", false, "without a section or key", "WIN.INI"},
        {"INIFILE \"s\"", false, "without a section or key", "WIN.INI"},
        {"INIFILE \"\" \"k\" \"v\"", false, "without a section or key", "WIN.INI"},
        {"INIFILE \"s\" \"k\" \"v", false, "", "WIN.INI"},
        {"INIFILE \"s\" \"k\" \"v\" \"\"", false, "empty file name", ""},
        {"INIFILE \"s\" \"k\" \"v\" system.ini", false, "", "system.ini"},
        // Unquoted, the fields read as empty and the word is the file.
        {"INIFILE \"s\" \"k\" v", false, "unquoted field", "v"},
        {"INIFILE \"s\" \"k\" \"v\" ASK", false, "read as the option", "WIN.INI"},
    };
    for (const Case& c : cases) {
        const auto edit = parse(c.line);
        EXPECT_EQ(edit.error, c.error) << c.line;
        if (c.error)
            continue;
        EXPECT_TRUE(test::warned(edit.warnings, c.warning)) << c.line;
        EXPECT_EQ(edit.item.file, c.file) << c.line;
    }
}

} // namespace
} // namespace kestrel::sysedit
