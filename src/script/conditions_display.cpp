// The display tests: colours and resolution against what the script asks for. Only `<` and
// `>` exist, and both include equality for the colour count.
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/warning_texts.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"

#include <algorithm>
#include <vector>

namespace kestrel::script {

namespace {

// 2 to the power of the bits per pixel over all planes, at most what 63 bits hold.
int64_t colourCount(const os::DisplayMode& mode) {
    const uint64_t bits = uint64_t{mode.bitsPerPixel} * mode.colourPlanes;
    return bits >= 63 ? INT64_MAX : int64_t{1} << bits;
}

// The operator word: its characters up to a condition separator. An '=' ends other words, but
// here it belongs to the operator as written (">=").
std::string readOperatorWord(lexical::FieldCursor& cursor) {
    std::string word = cursor.readConditionWord();
    while (!cursor.atEnd() && cursor.rest().front() == '=') {
        cursor.takeEquals();
        word += '=';
        if (cursor.atEnd() || lexical::isConditionSeparator(cursor.rest().front()))
            cursor.skipConditionSeparators();
        else
            word += cursor.readConditionWord();
    }
    return word;
}

bool isOperatorCharacter(char c) {
    return c == '<' || c == '>' || c == '=';
}

} // namespace

// Only the first character of the operator word counts. What follows it is the first value
// for `video` (so ">256" reads like "> 256") and is passed over for the other two tests.
// Values are read as atoi reads them; a missing colour count or size reads as 0.
ConditionResult testDisplay(lexical::FieldCursor& cursor, DisplayTest test,
                            ConditionContext& context) {
    const std::string opWord = readOperatorWord(cursor);
    if (opWord.empty() || (opWord[0] != '<' && opWord[0] != '>'))
        return ConditionResult::Error;
    const bool less = opWord[0] == '<';
    const auto extra = std::find_if_not(opWord.begin() + 1, opWord.end(), isOperatorCharacter);
    if (extra != opWord.begin() + 1)
        context.warnings.push_back("only the first character of the operator \"" + opWord +
                                   "\" counts");

    const size_t wanted =
        test == DisplayTest::Colours ? 1 : (test == DisplayTest::Resolution ? 2 : 3);
    std::vector<std::string> words;
    if (extra != opWord.end()) {
        if (test == DisplayTest::Any)
            words.emplace_back(extra, opWord.end());
        else
            context.warnings.push_back("\"" + std::string(extra, opWord.end()) +
                                       "\" after the operator is passed over");
    }
    while (words.size() < wanted) {
        std::string word = cursor.readConditionWord();
        if (word.empty())
            break;
        words.push_back(std::move(word));
    }
    if (test == DisplayTest::Any && words.empty())
        return ConditionResult::Error;
    std::vector<int64_t> values;
    for (size_t i = 0; i < std::max(words.size(), test == DisplayTest::Any ? 0 : wanted); ++i) {
        const std::string word =
            i < words.size() ? words[i].substr(0, lexical::FieldCursor::kNumberWordCapacity) : "";
        const lexical::LeadingNumber<int32_t> number = lexical::leadingInteger(word);
        if (!number.plain)
            context.warnings.push_back(
                lexical::warnings::notANumber("display value", word, std::to_string(number.value)));
        values.push_back(number.value);
    }

    const os::DisplayMode mode = context.system.displayMode();
    const int64_t colours = colourCount(mode);
    const int64_t width = mode.width;
    const int64_t height = mode.height;
    bool holds = false;
    if (values.size() == 1) {
        holds = less ? colours <= values[0] : colours >= values[0];
    } else if (values.size() == 2) {
        holds = less ? width < values[0] && height <= values[1]
                     : width >= values[0] && height >= values[1];
    } else {
        holds = less ? colours <= values[0] && width < values[1] && height < values[2]
                     : colours >= values[0] && width >= values[1] && height >= values[2];
    }
    return holds ? ConditionResult::True : ConditionResult::False;
}

} // namespace kestrel::script
