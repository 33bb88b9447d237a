#include "support/after_keyword.h"
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

TEST(AddText, MalformedLinesAreErrors) {
    for (const std::string& line : {
             std::string("ADDTEXT \"only the text\""),
             std::string("ADDTEXT text file.txt"),
             std::string("ADDTEXT \"text file.txt"),
             std::string("ADDTEXT \"t\" \"\""),
             std::string("ADDTEXT \"t\" \"f.txt\" \"where"),
             std::string("ADDTEXT \"t\" \"f.txt\" 3"),
             std::string("ADDTEXT \"t\" \"f.txt\" \"3\" REPLACE ALL"),
             "ADDTEXT \"t\" \"" + std::string(499, 'f') + "\"",
         }) {
        EXPECT_TRUE(parse(line).error) << line;
    }
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
