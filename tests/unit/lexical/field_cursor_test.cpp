#include "lexical/field_cursor.h"

#include <gtest/gtest.h>

namespace kestrel::lexical {
namespace {

TEST(FieldCursorKeyword, ColonsAndSeparatorsAfterTheKeywordAreSkipped) {
    FieldCursor colon("DEFAULTDIR: \"C:\\APP\"");
    FieldCursor blank("DEFAULTDIR \"C:\\APP\"");
    EXPECT_EQ(colon.readKeyword(), "DEFAULTDIR");
    EXPECT_EQ(blank.readKeyword(), "DEFAULTDIR");
    EXPECT_EQ(colon.rest(), blank.rest());
    EXPECT_EQ(colon.readQuoted(), "C:\\APP");

    FieldCursor digit("  1FILE x");
    EXPECT_EQ(digit.readKeyword(), "");
    EXPECT_EQ(digit.rest(), "1FILE x"); // separators before it are skipped, the digit stays
    FieldCursor punct("*FILE");
    EXPECT_EQ(punct.readKeyword(), "");
    EXPECT_EQ(punct.position(), 0u);

    FieldCursor accented("\xC9T\xC9"
                         "2 x"); // accented letters of the code page count
    EXPECT_EQ(accented.readKeyword(), "\xC9T\xC9"
                                      "2");
    EXPECT_EQ(accented.rest(), "x");
}

TEST(FieldCursorWord, StopsAtSeparatorsAndEquals) {
    FieldCursor cursor("  prompt=\"Where?\" ,next\tlast");
    EXPECT_EQ(cursor.readWord(), "prompt");
    EXPECT_EQ(cursor.rest(), "=\"Where?\" ,next\tlast");
    EXPECT_FALSE(FieldCursor(" =x").takeEquals()); // no separators skipped first
    EXPECT_TRUE(cursor.takeEquals());
    EXPECT_FALSE(cursor.takeEquals());
    EXPECT_EQ(cursor.readQuoted(), "Where?");
    EXPECT_EQ(cursor.readWord(), "next");
    EXPECT_EQ(cursor.readWord(), "last");
    EXPECT_TRUE(cursor.atEnd());
    EXPECT_EQ(cursor.readWord(), "");

    FieldCursor condition("(ASK1==\"yes\")x(y)");
    EXPECT_EQ(condition.readConditionWord(), "ASK1");
    EXPECT_EQ(condition.readOperator(), ComparisonOperator::Equal);
    EXPECT_EQ(condition.readQuoted(), "yes");
    EXPECT_EQ(condition.readConditionWord(), "x");
    EXPECT_EQ(condition.readConditionWord(), "y");
    EXPECT_TRUE(condition.atEnd());
}

TEST(FieldCursorQuoted, QuotesCommasAndUnterminatedText) {
    const char* spellings[] = {"\"a\",\"b\"", "\"a\" \"b\"", "\"a\" , \"b\"", "\"a\",,\"b\""};
    for (const char* line : spellings) {
        FieldCursor cursor(line);
        EXPECT_EQ(cursor.readQuoted(), "a") << line;
        EXPECT_EQ(cursor.readQuoted(), "b") << line;
        EXPECT_TRUE(cursor.atEnd()) << line;
    }

    FieldCursor doubled("\"say \"\"hi\"\"\" tail");
    EXPECT_EQ(doubled.readQuoted(), "say \"hi\"");
    EXPECT_EQ(doubled.rest(), "tail");

    FieldCursor unquoted("  word \"x\"");
    EXPECT_EQ(unquoted.readQuoted(), "");
    EXPECT_EQ(unquoted.rest(), "word \"x\"");
    EXPECT_EQ(unquoted.quotedLength(), -1);

    FieldCursor open("\"never closed");
    EXPECT_EQ(open.readQuoted(), "");
    EXPECT_TRUE(open.atEnd());
    EXPECT_EQ(FieldCursor("\"never closed").quotedLength(), 0);
    FieldCursor escapedAtEnd("\"abc\"\"");
    EXPECT_EQ(escapedAtEnd.readQuoted(), "");
    EXPECT_TRUE(escapedAtEnd.atEnd());

    FieldCursor lengths("\"\" \"abc\"");
    EXPECT_EQ(lengths.quotedLength(), 0);
    EXPECT_EQ(lengths.quotedLength(), 3);
    EXPECT_EQ(lengths.quotedLength(), -1);
}

TEST(FieldCursorParenthesized, ClosedAndOpen) {
    FieldCursor colour(" (255, 0,0) , blue");
    EXPECT_EQ(colour.readParenthesized(), "255, 0,0");
    EXPECT_EQ(colour.readParenthesized(), "");
    EXPECT_EQ(colour.rest(), "blue");

    FieldCursor open("(1,2");
    EXPECT_EQ(open.readParenthesized(), "");
    EXPECT_TRUE(open.atEnd());
}

TEST(FieldCursorNumber, DigitsSignsAndLimits) {
    FieldCursor cursor("12abc -7 +3 abc 2147483648 -2147483649 99999999999999999999");
    EXPECT_EQ(cursor.readNumber(), 12);
    EXPECT_EQ(cursor.readNumber(), -7);
    EXPECT_EQ(cursor.readNumber(), 3);
    EXPECT_EQ(cursor.readNumber(), 0);
    EXPECT_EQ(cursor.readNumber(), INT32_MAX);
    EXPECT_EQ(cursor.readNumber(), INT32_MIN);
    EXPECT_EQ(cursor.readNumber(), INT32_MAX);
    EXPECT_EQ(cursor.readNumber(), 0); // nothing left

    // Only the first 79 characters of the word count: the 80th digit is not read.
    FieldCursor longWord(std::string(78, '0') + "12");
    EXPECT_EQ(longWord.readNumber(), 1);
    EXPECT_TRUE(longWord.atEnd());
}

TEST(FieldCursorOperator, EveryOperatorAndTheErrors) {
    struct Case {
        const char* text;
        ComparisonOperator op;
        size_t position;
    };
    const Case cases[] = {
        {"== 1", ComparisonOperator::Equal, 2},
        {" = 1", ComparisonOperator::Equal, 2},
        {">=1", ComparisonOperator::GreaterOrEqual, 2},
        {"<=1", ComparisonOperator::LessOrEqual, 2},
        {"<>1", ComparisonOperator::NotEqual, 2},
        {">1", ComparisonOperator::Greater, 1},
        {"<1", ComparisonOperator::Less, 1},
        {"=>1", ComparisonOperator::Error, 2},
        {">>1", ComparisonOperator::Error, 2},
        {"!=1", ComparisonOperator::Error, 2},
        {"x1", ComparisonOperator::Error, 1},
        {"", ComparisonOperator::Error, 0},
        {"  ", ComparisonOperator::Error, 2},
    };
    for (const Case& c : cases) {
        FieldCursor cursor(c.text);
        EXPECT_EQ(cursor.readOperator(), c.op) << c.text;
        EXPECT_EQ(cursor.position(), c.position) << c.text;
    }
}

TEST(FieldCursorMacros, LeadingFieldMacrosAreReplacedWhileReading) {
    MacroVariables macros;
    macros.setWindowsDir("C:\\WINDOWS\\");
    macros.setSourceDir("http://host/app/");

    FieldCursor located("FILE $locatedir$\\A.EXE \"$LOCATEDIR$\\B\" x$LOCATEDIR$", &macros);
    EXPECT_EQ(located.readKeyword(), "FILE");
    EXPECT_EQ(located.readWord(), "C:\\NEWFILES\\A.EXE");
    EXPECT_EQ(located.readQuoted(), "C:\\NEWFILES\\B");
    EXPECT_EQ(located.readWord(), "x$LOCATEDIR$"); // not at the start: kept for later

    FieldCursor help("$WINHELPDIR$\\x $SOURCEDIR$y $DEFAULTDIR$ $SYSTEM$\\z", &macros);
    EXPECT_EQ(help.readWord(), "C:\\WINDOWS\\help\\x");
    EXPECT_EQ(help.readWord(), "http://host/app/y");
    EXPECT_EQ(help.readWord(), "$DEFAULTDIR$"); // expanded on the stored item
    EXPECT_EQ(help.readWord(), "$SYSTEM$\\z");  // empty: left for the item's expansion

    // An empty value that is always replaced simply removes the macro.
    FieldCursor drive("($LOCATEDRIVE$:)", &macros);
    EXPECT_EQ(drive.readConditionWord(), ":");

    FieldCursor none("$LOCATEDIR$");
    EXPECT_EQ(none.readWord(), "$LOCATEDIR$");
}

TEST(FieldCursorMacros, TheLineStaysWithinItsCapacity) {
    MacroVariables macros;
    macros.setWindowsDir(std::string(900, 'W'));
    FieldCursor cursor("$WINHELPDIR$" + std::string(200, 'x') + " next", &macros);
    const std::string word = cursor.readWord();
    EXPECT_EQ(cursor.lineLength(), FieldCursor::kCapacity);
    EXPECT_EQ(word.size(), FieldCursor::kCapacity);
    EXPECT_TRUE(cursor.atEnd());

    FieldCursor tooLong(std::string(1200, 'a'));
    EXPECT_EQ(tooLong.lineLength(), FieldCursor::kCapacity);
}

} // namespace
} // namespace kestrel::lexical
