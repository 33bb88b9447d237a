#include "script/conditions.h"

#include "script/ansi_text.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"
#include "script/quoted_field.h"

namespace kestrel::script {

namespace {

ConditionResult resultOf(bool holds) {
    return holds ? ConditionResult::True : ConditionResult::False;
}

// A name that is no test of its own: NAME OP VALUE, compared as text ignoring case.
ConditionResult testTextComparison(const std::string& name, FieldCursor& cursor) {
    const ComparisonOperator op = cursor.readOperator();
    if (op == ComparisonOperator::Error)
        return ConditionResult::Error;
    const QuotedField quoted = readQuotedField(cursor);
    if (quoted.state == QuotedField::State::Unterminated)
        return ConditionResult::Error;
    const std::string value = quoted.complete() ? quoted.text : cursor.readConditionWord();
    return resultOf(comparisonHolds(compareIgnoringCase(name, value), op));
}

// A `group` or `$ASKn` test met in the main pass: its block waits for the deferred pass. A
// test the deferred pass could not read fails now, while the script is read.
ConditionResult deferBlock(const FieldCursor& condition, ConditionContext& context) {
    FieldCursor check = condition;
    if (!parseDeferredTest(check))
        return ConditionResult::Error;
    if (!context.bufferDeferredBlock || context.bufferDeferredBlock() < 0)
        return ConditionResult::Error;
    return ConditionResult::Deferred;
}

ConditionResult evaluateMainPass(FieldCursor& cursor, ConditionContext& context) {
    const FieldCursor condition = cursor;
    const std::string name = cursor.readConditionWord();
    if (equalsIgnoreCase(name, "isfile"))
        return testIsFile(cursor, context);
    if (equalsIgnoreCase(name, "ocxfilever"))
        return testOcxFileVersion(cursor, context);
    if (equalsIgnoreCase(name, "search"))
        return testSearch(cursor, context);
    if (equalsIgnoreCase(name, "locate"))
        return testLocate(cursor, context);
    if (equalsIgnoreCase(name, "videocolor"))
        return testDisplay(cursor, DisplayTest::Colours, context);
    if (equalsIgnoreCase(name, "videoresolution"))
        return testDisplay(cursor, DisplayTest::Resolution, context);
    if (equalsIgnoreCase(name, "video"))
        return testDisplay(cursor, DisplayTest::Any, context);
    if (equalsIgnoreCase(name, "memory"))
        return testMemory(cursor, context);
    if (equalsIgnoreCase(name, "winver"))
        return testVersion(cursor, context.globals.windowsVersion);
    if (equalsIgnoreCase(name, "dosver"))
        return testVersion(cursor, context.globals.dosVersion);
    if (equalsIgnoreCase(name, "group") || startsWithIgnoreCase(name, "$ask"))
        return deferBlock(condition, context);
    return testTextComparison(name, cursor);
}

} // namespace

ConditionResult testMemory(FieldCursor& cursor, const ConditionContext& context) {
    const ComparisonOperator op = cursor.readOperator();
    if (op == ComparisonOperator::Error)
        return ConditionResult::Error;
    const auto kilobytes = parseUnsignedDecimal(cursor.readConditionWord());
    // Held in 64 bits: a count of kilobytes above 4 GB must not wrap round to a small one.
    if (!kilobytes || *kilobytes > UINT64_MAX / 1024)
        return ConditionResult::Error;
    const uint64_t bytes = *kilobytes * 1024;
    return resultOf(
        comparisonHolds(threeWayCompare(context.system.totalPhysicalMemory(), bytes), op));
}

ConditionResult testVersion(FieldCursor& cursor, double version) {
    const ComparisonOperator op = cursor.readOperator();
    if (op == ComparisonOperator::Error)
        return ConditionResult::Error;
    const std::string word = cursor.readConditionWord();
    if (op == ComparisonOperator::Equal && equalsIgnoreCase(word, "range")) {
        const auto low = parseDecimalNumber(cursor.readConditionWord());
        const auto high = parseDecimalNumber(cursor.readConditionWord());
        if (!low || !high)
            return ConditionResult::Error;
        return resultOf(*low <= version && version <= *high);
    }
    const auto number = parseDecimalNumber(word);
    if (!number)
        return ConditionResult::Error;
    return resultOf(comparisonHolds(threeWayCompare(version, *number), op));
}

ConditionResult evaluateCondition(FieldCursor& cursor, ConditionContext& context) {
    const ConditionResult result = evaluateMainPass(cursor, context);
    if (result == ConditionResult::Error)
        context.errorFlag = true;
    return result;
}

ConditionResult evaluateDeferredCondition(FieldCursor& cursor, ConditionContext& context) {
    const auto test = parseDeferredTest(cursor);
    if (!test) {
        context.errorFlag = true;
        return ConditionResult::Error;
    }
    return resultOf(deferredTestHolds(*test, context.globals));
}

} // namespace kestrel::script
