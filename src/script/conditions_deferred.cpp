// The tests that wait for the user's answers: group choices and ASK answers.
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/line_words.h"
#include "lexical/numbers.h"
#include "lexical/quoted_field.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"

namespace kestrel::script {

namespace {

// Group numbers a `group` test may list; more are not read.
constexpr size_t kMaxListedGroups = 100;

// "group = N N ...": one- or two-digit numbers up to the end of the line.
std::optional<DeferredTest> parseGroupTest(lexical::FieldCursor& cursor) {
    if (!cursor.takeEquals())
        return std::nullopt;
    DeferredTest test;
    test.kind = DeferredTest::Kind::Group;
    while (test.groupNumbers.size() < kMaxListedGroups) {
        const std::string word = cursor.readWord();
        if (word.empty())
            break;
        if (word.size() > 2 || !lexical::isDecimalDigit(word[0]) ||
            (word.size() == 2 && !lexical::isDecimalDigit(word[1])))
            return std::nullopt;
        test.groupNumbers.push_back(word.size() == 1 ? word[0] - '0'
                                                     : (word[0] - '0') * 10 + (word[1] - '0'));
    }
    if (test.groupNumbers.empty())
        return std::nullopt; // a test of no group at all is a mistake, not a "false"
    return test;
}

// "$ASKn OP "VALUE"" or "$ASKn OP range LOW HIGH"; the name may end in a '$'.
std::optional<DeferredTest> parseAskTest(const std::string& name, lexical::FieldCursor& cursor) {
    if (name.size() < 5 || name[4] < '1' || name[4] > '5')
        return std::nullopt;
    const std::string_view tail = std::string_view(name).substr(5);
    if (!tail.empty() && tail != "$")
        return std::nullopt;
    DeferredTest test;
    test.kind = DeferredTest::Kind::Ask;
    test.askNumber = name[4] - '0';
    test.op = cursor.readOperator();
    if (test.op == lexical::ComparisonOperator::Error)
        return std::nullopt;
    const lexical::QuotedField quoted = lexical::readQuotedField(cursor);
    if (quoted.state == lexical::QuotedField::State::Unterminated)
        return std::nullopt;
    if (quoted.complete()) {
        test.value = quoted.text;
        return test;
    }
    // The operator before `range` is required but has no say.
    if (!lexical::equalsIgnoringAsciiCase(cursor.readWord(), "range"))
        return std::nullopt;
    const auto low = lexical::parseDecimalNumber(cursor.readWord());
    const auto high = lexical::parseDecimalNumber(cursor.readWord());
    if (!low || !high)
        return std::nullopt;
    test.range = true;
    test.low = *low;
    test.high = *high;
    return test;
}

bool askTestHolds(const DeferredTest& test, const std::string& answer) {
    if (test.range) {
        // An answer that is no number lies in no range.
        const auto number = lexical::parseDecimalNumber(lexical::trimBlanks(answer));
        return number && test.low <= *number && *number <= test.high;
    }
    switch (test.op) {
    case lexical::ComparisonOperator::Equal:
        return answer == test.value;
    case lexical::ComparisonOperator::NotEqual:
        return answer != test.value;
    default:
        return comparisonHolds(lexical::compareIgnoringCp1252Case(answer, test.value), test.op);
    }
}

} // namespace

std::optional<DeferredTest> parseDeferredTest(lexical::FieldCursor& cursor) {
    const std::string name = cursor.readWord();
    if (lexical::equalsIgnoringAsciiCase(name, "group"))
        return parseGroupTest(cursor);
    if (lexical::startsWithIgnoringAsciiCase(name, "$ask"))
        return parseAskTest(name, cursor);
    return std::nullopt;
}

bool deferredTestHolds(const DeferredTest& test, const PluginGlobals& globals) {
    if (test.kind == DeferredTest::Kind::Ask)
        return askTestHolds(test, globals.macros.ask(test.askNumber));
    for (int32_t number : test.groupNumbers) {
        // A number no group declared labels no option and so counts as not selected.
        if (globals.options.groupSelected(number))
            return true;
    }
    return false;
}

} // namespace kestrel::script
