// The tests that wait for the user's answers: group choices and ASK answers. They are read
// as the deferred pass reads them (the test name with ReadWord), and a group test is evaluated
// as it is read: true at the first listed group that was chosen, so a broken word after it is
// never reached.
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/warning_texts.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"

namespace kestrel::script {

namespace {

// Group numbers a `group` test may list; more are not read.
constexpr size_t kMaxListedGroups = 100;

// "group = N N ...": words of one or two characters starting with a digit, up to an empty word.
void readGroupTest(lexical::FieldCursor& cursor, DeferredTest& test,
                   std::vector<std::string>& warnings) {
    test.kind = DeferredTest::Kind::Group;
    if (!cursor.takeEquals()) {
        test.fault = "no '=' after group";
        return;
    }
    while (test.groupNumbers.size() < kMaxListedGroups) {
        const std::string word = cursor.readWord();
        if (word.empty())
            break;
        if (word.size() > 2 || !lexical::isDecimalDigit(word[0])) {
            test.fault = "group word \"" + word + "\" is no group number";
            return;
        }
        const int32_t number = lexical::leadingNumber(word);
        if (!lexical::isDecimalDigit(word.back()))
            warnings.push_back(
                lexical::warnings::notANumber("group number", word, std::to_string(number)));
        test.groupNumbers.push_back(number);
    }
    if (test.groupNumbers.empty())
        warnings.push_back("group test without group numbers: always false");
}

double readRangeEnd(lexical::FieldCursor& cursor, DeferredTest& test,
                    std::vector<std::string>& warnings) {
    const std::string word = cursor.readWord();
    if (word.empty())
        test.fault = "range without its low and high numbers";
    const lexical::LeadingNumber<double> number = lexical::leadingDecimal(word);
    if (!word.empty() && !number.plain)
        warnings.push_back(lexical::warnings::notANumber(
            "range number", word, lexical::warnings::numberText(number.value)));
    return number.value;
}

// "$ASKn OP "VALUE"" or "$ASKn OP range LOW HIGH": the fifth character names the question.
void readAskTest(const std::string& name, lexical::FieldCursor& cursor, DeferredTest& test,
                 std::vector<std::string>& warnings) {
    test.kind = DeferredTest::Kind::Ask;
    if (name.size() < 5 || name[4] < '1' || name[4] > '5') {
        test.fault = "\"" + name + "\" names no question $ASK1..$ASK5";
        return;
    }
    test.askNumber = name[4] - '0';
    const std::string_view tail = std::string_view(name).substr(5);
    if (!tail.empty() && tail != "$")
        warnings.push_back("\"" + name + "\" read as $ASK" + std::to_string(test.askNumber));
    test.op = cursor.readOperator();
    if (test.op == lexical::ComparisonOperator::Error) {
        test.fault = "no comparison operator";
        return;
    }
    cursor.skipSeparators();
    if (!cursor.atEnd() && cursor.rest().front() == '"') {
        test.value = cursor.readQuoted();
        return;
    }
    // The operator before `range` is required but has no say.
    const std::string word = cursor.readWord();
    if (!lexical::equalsIgnoringAsciiCase(word, "range")) {
        test.fault = word.empty() ? "no value to compare with"
                                  : "\"" + word + "\" is neither a quoted value nor range";
        return;
    }
    test.range = true;
    test.low = readRangeEnd(cursor, test, warnings);
    test.high = readRangeEnd(cursor, test, warnings);
}

bool askTestHolds(const DeferredTest& test, const std::string& answer) {
    if (test.range) {
        // The answer is read as a number as far as it goes: "12abc" is 12, "abc" 0.
        const double number = lexical::leadingDecimal(answer).value;
        return test.low <= number && number <= test.high;
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

DeferredTest readDeferredTest(lexical::FieldCursor& cursor, std::vector<std::string>& warnings) {
    DeferredTest test;
    const std::string name = cursor.readWord();
    if (lexical::equalsIgnoringAsciiCase(name, "group"))
        readGroupTest(cursor, test, warnings);
    else if (lexical::startsWithIgnoringAsciiCase(name, "$ask"))
        readAskTest(name, cursor, test, warnings);
    else
        test.fault = "\"" + name + "\" is no test of the deferred pass (group or $ASKn)";
    return test;
}

ConditionResult evaluateDeferredTest(const DeferredTest& test, const PluginGlobals& globals) {
    if (test.kind == DeferredTest::Kind::Ask && test.fault.empty())
        return askTestHolds(test, globals.macros.ask(test.askNumber)) ? ConditionResult::True
                                                                      : ConditionResult::False;
    for (int32_t number : test.groupNumbers) {
        // A number no group declared labels no option and so counts as not selected.
        if (globals.options.groupSelected(number))
            return ConditionResult::True;
    }
    return test.fault.empty() ? ConditionResult::False : ConditionResult::Error;
}

} // namespace kestrel::script
