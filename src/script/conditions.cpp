#include "script/conditions.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/quoted_field.h"
#include "lexical/warning_texts.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"

namespace kestrel::script {

namespace {

ConditionResult resultOf(bool holds) {
    return holds ? ConditionResult::True : ConditionResult::False;
}

// A name that is no test of its own: NAME OP VALUE, compared as text ignoring case. The value is
// quoted when a quote follows, otherwise a word.
ConditionResult testTextComparison(const std::string& name, lexical::FieldCursor& cursor) {
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const std::string value = lexical::readQuotedOrConditionWord(cursor);
    return resultOf(comparisonHolds(lexical::compareIgnoringCp1252Case(name, value), op));
}

// A `group` or `$ASKn` test met in the main pass: its block waits for the deferred pass, which
// reads the test then. What that reading will find is told now.
ConditionResult deferBlock(const lexical::FieldCursor& condition, ConditionContext& context) {
    lexical::FieldCursor lookAhead = condition;
    const DeferredTest test = readDeferredTest(lookAhead, context.warnings);
    if (!test.fault.empty())
        context.warnings.push_back(
            "in the deferred pass this test is an error: " + test.fault +
            (test.groupNumbers.empty() ? "" : " (unless a group listed before it is chosen)"));
    else if (lookAhead.metUnterminatedQuote())
        context.warnings.push_back(std::string(lexical::warnings::kUnterminatedQuote));
    else if (!lookAhead.atEnd())
        context.warnings.push_back(std::string(lexical::warnings::kConditionTextIgnored));
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
        return testVersion(cursor, context.globals.windowsVersion, context);
    if (lexical::equalsIgnoringAsciiCase(name, "dosver"))
        return testVersion(cursor, context.globals.dosVersion, context);
    if (lexical::equalsIgnoringAsciiCase(name, "group") ||
        lexical::startsWithIgnoringAsciiCase(name, "$ask"))
        return deferBlock(condition, context);
    return testTextComparison(name, cursor);
}

// A number word of a condition, as the test reads it, with a warning when the word is more.
template <typename T>
T numberIn(const std::string& word, lexical::LeadingNumber<T> number, std::string_view what,
           ConditionContext& context) {
    if (!number.plain)
        context.warnings.push_back(
            lexical::warnings::notANumber(what, word, lexical::warnings::numberText(number.value)));
    return number.value;
}

int32_t conditionInteger(lexical::FieldCursor& cursor, std::string_view what,
                         ConditionContext& context) {
    const std::string word =
        cursor.readConditionWord().substr(0, lexical::FieldCursor::kNumberWordCapacity);
    return numberIn(word, lexical::leadingInteger(word), what, context);
}

} // namespace

ConditionResult testMemory(lexical::FieldCursor& cursor, ConditionContext& context) {
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const int64_t kilobytes = conditionInteger(cursor, "kilobytes", context);
    // Bytes in 64 bits, so that a count of kilobytes beyond 4 GB does not wrap round to a small
    // one; a negative count is what its 32-bit product says, a number near 4 GB.
    const uint64_t bytes = kilobytes >= 0 ? static_cast<uint64_t>(kilobytes) * 1024
                                          : static_cast<uint32_t>(kilobytes * 1024);
    if (kilobytes < 0)
        context.warnings.push_back("negative kilobytes: compared as " + std::to_string(bytes) +
                                   " bytes, their 32-bit value");
    return resultOf(
        comparisonHolds(threeWayCompare(context.system.totalPhysicalMemory(), bytes), op));
}

ConditionResult testVersion(lexical::FieldCursor& cursor, double version,
                            ConditionContext& context) {
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const std::string word = cursor.readConditionWord();
    if (lexical::equalsIgnoringAsciiCase(word, "range")) {
        if (op == lexical::ComparisonOperator::Equal) {
            const std::string lowWord = cursor.readConditionWord();
            const std::string highWord = cursor.readConditionWord();
            if (lowWord.empty() || highWord.empty())
                return ConditionResult::Error;
            const double low =
                numberIn(lowWord, lexical::leadingDecimal(lowWord), "version", context);
            const double high =
                numberIn(highWord, lexical::leadingDecimal(highWord), "version", context);
            return resultOf(low <= version && version <= high);
        }
        context.warnings.push_back("range counts only after '=': read as the version 0");
        cursor.skipToEnd();
        return resultOf(comparisonHolds(threeWayCompare(version, 0.0), op));
    }
    const double number = numberIn(word, lexical::leadingDecimal(word), "version", context);
    return resultOf(comparisonHolds(threeWayCompare(version, number), op));
}

ConditionResult evaluateCondition(lexical::FieldCursor& cursor, ConditionContext& context) {
    const ConditionResult result = evaluateMainPass(cursor, context);
    if (result == ConditionResult::Error)
        context.errorFlag = true;
    return result;
}

ConditionResult evaluateDeferredCondition(lexical::FieldCursor& cursor, ConditionContext& context) {
    const ConditionResult result =
        evaluateDeferredTest(readDeferredTest(cursor, context.warnings), context.globals);
    if (result == ConditionResult::Error)
        context.errorFlag = true;
    return result;
}

} // namespace kestrel::script
