// The display tests: colours and resolution against what the script asks for. Only `<` and
// `>` exist, and both include equality for the colour count.
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"

#include <vector>

namespace kestrel::script {

namespace {

// 2 to the power of the bits per pixel over all planes; a display deeper than 63 bits counts
// as having the most colours there can be.
uint64_t colourCount(const os::DisplayMode& mode) {
    const uint64_t bits = uint64_t{mode.bitsPerPixel} * mode.colourPlanes;
    return bits >= 64 ? UINT64_MAX : uint64_t{1} << bits;
}

} // namespace

// The operator word's first character is the operator; anything after it is the first value,
// so ">256" reads like "> 256". Every value must be a whole decimal number.
ConditionResult testDisplay(lexical::FieldCursor& cursor, DisplayTest test,
                            ConditionContext& context) {
    const std::string opWord = cursor.readConditionWord();
    if (opWord.empty() || (opWord[0] != '<' && opWord[0] != '>'))
        return ConditionResult::Error;
    const bool less = opWord[0] == '<';

    const size_t wanted =
        test == DisplayTest::Colours ? 1 : (test == DisplayTest::Resolution ? 2 : 3);
    std::vector<std::string> words;
    if (opWord.size() > 1)
        words.push_back(opWord.substr(1));
    while (words.size() < wanted) {
        std::string word = cursor.readConditionWord();
        if (word.empty())
            break;
        words.push_back(std::move(word));
    }
    const size_t required = test == DisplayTest::Any ? 1 : wanted;
    if (words.size() < required)
        return ConditionResult::Error;
    std::vector<uint64_t> values;
    for (const std::string& word : words) {
        const auto value = lexical::parseUnsignedDecimal(word);
        if (!value)
            return ConditionResult::Error;
        values.push_back(*value);
    }

    const os::DisplayMode mode = context.system.displayMode();
    const uint64_t colours = colourCount(mode);
    const uint64_t width = mode.width;
    const uint64_t height = mode.height;
    bool holds = false;
    if (test == DisplayTest::Colours || (test == DisplayTest::Any && values.size() == 1)) {
        holds = less ? colours <= values[0] : colours >= values[0];
    } else if (test == DisplayTest::Resolution || values.size() == 2) {
        holds = less ? width < values[0] && height <= values[1]
                     : width >= values[0] && height >= values[1];
    } else {
        holds = less ? colours <= values[0] && width < values[1] && height < values[2]
                     : colours >= values[0] && width >= values[1] && height >= values[2];
    }
    return holds ? ConditionResult::True : ConditionResult::False;
}

} // namespace kestrel::script
