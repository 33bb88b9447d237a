#include "script/conditions.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/quoted_field.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"

namespace kestrel::script {

namespace {

ConditionResult resultOf(bool holds) {
    return holds ? ConditionResult::True : ConditionResult::False;
}

// A name that is no test of its own: NAME OP VALUE, compared as text ignoring case.
ConditionResult testTextComparison(const std::string& name, lexical::FieldCursor& cursor) {
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const lexical::QuotedField quoted = lexical::readQuotedField(cursor);
    if (quoted.state == lexical::QuotedField::State::Unterminated)
        return ConditionResult::Error;
    const std::string value = quoted.complete() ? quoted.text : cursor.readConditionWord();
    return resultOf(comparisonHolds(lexical::compareIgnoringCp1252Case(name, value), op));
}

// A `group` or `$ASKn` test met in the main pass: its block waits for the deferred pass. A
// test the deferred pass could not read fails now, while the script is read.
ConditionResult deferBlock(const lexical::FieldCursor& condition, ConditionContext& context) {
    lexical::FieldCursor check = condition;
    if (!parseDeferredTest(check))
        return ConditionResult::Error;
    if (!context.bufferDeferredBlock || context.bufferDeferredBlock() < 0)
        return ConditionResult::Error;
    return ConditionResult::Deferred;
}

ConditionResult evaluateMainPass(lexical::FieldCursor& cursor, ConditionContext& context) {
    const lexical::FieldCursor condition = cursor;
    const std::string name = cursor.readConditionWord();
    if (lexical::equalsIgnoringAsciiCase(name, "isfile"))
        return testIsFile(cursor, context);
    if (lexical::equalsIgnoringAsciiCase(name, "ocxfilever"))
        return testOcxFileVersion(cursor, context);
    if (lexical::equalsIgnoringAsciiCase(name, "search"))
        return testSearch(cursor, context);
    if (lexical::equalsIgnoringAsciiCase(name, "locate"))
        return testLocate(cursor, context);
    if (lexical::equalsIgnoringAsciiCase(name, "videocolor"))
        return testDisplay(cursor, DisplayTest::Colours, context);
    if (lexical::equalsIgnoringAsciiCase(name, "videoresolution"))
        return testDisplay(cursor, DisplayTest::Resolution, context);
    if (lexical::equalsIgnoringAsciiCase(name, "video"))
        return testDisplay(cursor, DisplayTest::Any, context);
    if (lexical::equalsIgnoringAsciiCase(name, "memory"))
        return testMemory(cursor, context);
    if (lexical::equalsIgnoringAsciiCase(name, "winver"))
        return testVersion(cursor, context.globals.windowsVersion);
    if (lexical::equalsIgnoringAsciiCase(name, "dosver"))
        return testVersion(cursor, context.globals.dosVersion);
    if (lexical::equalsIgnoringAsciiCase(name, "group") ||
        lexical::startsWithIgnoringAsciiCase(name, "$ask"))
        return deferBlock(condition, context);
    return testTextComparison(name, cursor);
}

} // namespace

ConditionResult testMemory(lexical::FieldCursor& cursor, const ConditionContext& context) {
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const auto kilobytes = lexical::parseUnsignedDecimal(cursor.readConditionWord());
    // Held in 64 bits: a count of kilobytes above 4 GB must not wrap round to a small one.
    if (!kilobytes || *kilobytes > UINT64_MAX / 1024)
        return ConditionResult::Error;
    const uint64_t bytes = *kilobytes * 1024;
    return resultOf(
        comparisonHolds(threeWayCompare(context.system.totalPhysicalMemory(), bytes), op));
}

ConditionResult testVersion(lexical::FieldCursor& cursor, double version) {
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const std::string word = cursor.readConditionWord();
    if (op == lexical::ComparisonOperator::Equal &&
        lexical::equalsIgnoringAsciiCase(word, "range")) {
        const auto low = lexical::parseDecimalNumber(cursor.readConditionWord());
        const auto high = lexical::parseDecimalNumber(cursor.readConditionWord());
        if (!low || !high)
            return ConditionResult::Error;
        return resultOf(*low <= version && version <= *high);
    }
    const auto number = lexical::parseDecimalNumber(word);
    if (!number)
        return ConditionResult::Error;
    return resultOf(comparisonHolds(threeWayCompare(version, *number), op));
}

ConditionResult evaluateCondition(lexical::FieldCursor& cursor, ConditionContext& context) {
    const ConditionResult result = evaluateMainPass(cursor, context);
    if (result == ConditionResult::Error)
        context.errorFlag = true;
    return result;
}

ConditionResult evaluateDeferredCondition(lexical::FieldCursor& cursor, ConditionContext& context) {
    const auto test = parseDeferredTest(cursor);
    if (!test) {
        context.errorFlag = true;
        return ConditionResult::Error;
    }
    return resultOf(deferredTestHolds(*test, context.globals));
}

} // namespace kestrel::script
