#include "lexical/quoted_field.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::lexical {
namespace {

TEST(QuotedField, TellsAbsentUnterminatedAndCompleteApart) {
    FieldCursor cursor(" \"a\"\"b\" word \"open");
    QuotedField field = readQuotedField(cursor);
    EXPECT_EQ(field.state, QuotedField::State::Complete);
    EXPECT_EQ(field.text, "a\"b");

    field = readQuotedField(cursor);
    EXPECT_EQ(field.state, QuotedField::State::Absent);
    EXPECT_EQ(cursor.readWord(), "word"); // an absent field leaves the word in place

    field = readQuotedField(cursor);
    EXPECT_EQ(field.state, QuotedField::State::Unterminated);
    EXPECT_TRUE(cursor.atEnd());

    FieldCursor empty("\"\" \"x");
    EXPECT_EQ(readRequiredQuoted(empty), std::string());
    EXPECT_EQ(readRequiredQuoted(empty), std::nullopt);
}

TEST(QuotedField, AQuotePushedPastTheLineByAMacroIsUnterminated) {
    MacroVariables macros;
    macros.setWindowsDir(std::string(900, 'W'));
    FieldCursor cursor("\"$WINHELPDIR$" + std::string(200, 'x') + "\"", &macros);
    EXPECT_EQ(readQuotedField(cursor).state, QuotedField::State::Unterminated);

    FieldCursor fits("\"$WINHELPDIR$\\x\"", &macros);
    const QuotedField field = readQuotedField(fits);
    EXPECT_TRUE(field.complete());
    EXPECT_EQ(field.text, std::string(900, 'W') + "\\help\\x");
}

} // namespace
} // namespace kestrel::lexical
