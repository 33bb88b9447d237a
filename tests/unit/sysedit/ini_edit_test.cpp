#include "support/after_keyword.h"
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

    auto bareFile = parse("INIFILE \"s\" \"k\" \"v\" system.ini");
    EXPECT_FALSE(bareFile.error);
    EXPECT_EQ(bareFile.item.file, "system.ini");

    // An option word where the file may stand is the option, not a file of that name.
    auto optionFirst = parse("INIFILE \"s\" \"k\" \"v\" ADD ASK");
    EXPECT_FALSE(optionFirst.error);
    EXPECT_EQ(optionFirst.item.file, "WIN.INI");
    EXPECT_TRUE(optionFirst.item.add);
    EXPECT_EQ(optionFirst.item.mode, EditMode::ModifyThenAsk);
}

TEST(IniEdit, MalformedLinesAreErrors) {
    for (const std::string& line : {
             std::string("INIFILE"),
             std::string("INIFILE \"s\""),
             std::string("INIFILE \"\" \"k\" \"v\""),
             std::string("INIFILE \"s\" \"\" \"v\""),
             std::string("INIFILE s \"k\" \"v\""),
             std::string("INIFILE \"s\" \"k\" v"),
             std::string("INIFILE \"s\" \"k\" \"v"),
             std::string("INIFILE \"s\" \"k\" \"v\" \"\""),
             std::string("INIFILE \"s\" \"k\" \"v\" win.ini QUIET"),
             "INIFILE \"" + std::string(499, 's') + "\" \"k\"",
         }) {
        EXPECT_TRUE(parse(line).error) << line;
    }
    EXPECT_FALSE(parse("INIFILE \"" + std::string(498, 's') + "\" \"k\"").error);
}

} // namespace
} // namespace kestrel::sysedit
