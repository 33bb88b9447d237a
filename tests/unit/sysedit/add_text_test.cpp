#include "support/after_keyword.h"
#include "support/warnings.h"
#include "sysedit/add_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::sysedit {
namespace {

lexical::Parsed<TextInsertion> parse(const std::string& line, const SearchTokens& tokens = {}) {
    auto cursor = test::afterKeyword(line);
    return parseAddText(cursor, tokens);
}

TEST(AddText, ReadsFieldsAndReplacesSearchTokens) {
    const SearchTokens tokens{"device=", " /x $LEFT$", "7"};
    auto entry = parse("ADDTEXT \"$left$c:\\kst.sys$RIGHT$\" \"$WINDIR$\\system.ini\" "
                       "\"$SEARCH$\" replace",
                       tokens);
    EXPECT_FALSE(entry.error);
    // The $LEFT$ inside the right part comes from a value and is not replaced again.
    EXPECT_EQ(entry.item.text, "device=c:\\kst.sys /x $LEFT$");
    EXPECT_EQ(entry.item.file, "$WINDIR$\\system.ini");
    EXPECT_EQ(entry.item.where, "7");
    EXPECT_TRUE(entry.item.replace);

    auto plain = parse("ADDTEXT \"[boot]\" system.ini");
    EXPECT_FALSE(plain.error);
    EXPECT_EQ(plain.item.file, "system.ini");
    EXPECT_EQ(plain.item.where, "");
    EXPECT_FALSE(plain.item.replace);
}

TEST(AddText, LinesAreReadAsFarAsTheyGo) {
    struct Case {
        std::string line;
        bool error;
        const char* warning; // a fragment of a warning; empty: none
        std::string file;
    };
    const Case cases[] = {
        {"ADDTEXT \"only the text\"", true, "", ""},
        {"ADDTEXT \"text file.txt", true, "", ""}, // the quote takes the line
        {"ADDTEXT \"t\" \"" + std::string(499, 'f') + "\"", true, "", ""},
        // An unquoted text is empty, and its word is the file.
        {"ADDTEXT text file.txt", false, "unquoted text", "text"},
        {"ADDTEXT \"t\" \"\"", false, "empty file name", ""},
        {"ADDTEXT \"t\" \"f.txt\" \"where", false, "", "f.txt"},
        {"ADDTEXT \"t\" \"f.txt\" 3", false, "\"3\" is passed over", "f.txt"},
        {"ADDTEXT \"t\" \"f.txt\" \"3\" REPLACE ALL", false, "\"ALL\" is passed over", "f.txt"},
        // A word stops before '=': the '=' is a word of its own, so the line still ends.
        {"ADDTEXT \"t\" f.txt = REPLACE", false, "\"=\" is passed over", "f.txt"},
    };
    for (const Case& c : cases) {
        const auto entry = parse(c.line);
        EXPECT_EQ(entry.error, c.error) << c.line;
        if (c.error)
            continue;
        EXPECT_TRUE(test::warned(entry.warnings, c.warning)) << c.line;
        EXPECT_EQ(entry.item.file, c.file) << c.line;
    }
    EXPECT_TRUE(parse("ADDTEXT \"t\" \"f.txt\" \"3\" REPLACE ALL").item.replace);
    EXPECT_TRUE(parse("ADDTEXT \"t\" f.txt = REPLACE").item.replace);
    // Texts are bounded after their tokens are replaced.
    const std::string left(600, 'l');
    EXPECT_TRUE(parse("ADDTEXT \"$LEFT$$LEFT$\" f.txt", {left, "", ""}).error);
    EXPECT_FALSE(parse("ADDTEXT \"$LEFT$\" f.txt", {left, "", ""}).error);
    EXPECT_TRUE(parse("ADDTEXT \"t\" f.txt \"$SEARCH$\"", {"", "", std::string(502, '9')}).error);
}

TEST(AddText, TokenReplacementKeepsCaseAndRespectsCapacity) {
    std::string text = "a$Tok$b$TOK$c";
    EXPECT_TRUE(replaceToken(text, "$TOK$", "[$tok$]", 100));
    EXPECT_EQ(text, "a[$tok$]b[$tok$]c");

    std::string tight = "x$T$y";
    EXPECT_FALSE(replaceToken(tight, "$T$", "1234", 5));
    EXPECT_EQ(tight, "x$T$y");
    EXPECT_TRUE(replaceToken(tight, "$T$", "123", 5));
    EXPECT_EQ(tight, "x123y");
}

} // namespace
} // namespace kestrel::sysedit
