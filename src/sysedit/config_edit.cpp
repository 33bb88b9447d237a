#include "sysedit/config_edit.h"

#include "script/ansi_text.h"

#include <cstdint>
#include <string>

namespace kestrel::sysedit {

namespace {

using script::equalsIgnoreCase;

// "=n": the digits at the start of the word, up to the first other character. A word that does
// not begin with a digit (a sign, a letter, nothing) is refused, and so is a value beyond the
// 32-bit range: either would quietly ask for no minimum at all.
bool readMinimum(script::FieldCursor& cursor, int32_t& minimum) {
    if (!cursor.takeEquals())
        return false;
    const std::string word = cursor.readWord();
    if (word.empty() || word[0] < '0' || word[0] > '9')
        return false;
    int64_t value = 0;
    for (size_t i = 0; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
        value = value * 10 + (word[i] - '0');
        if (value > INT32_MAX)
            return false;
    }
    minimum = static_cast<int32_t>(value);
    return true;
}

} // namespace

EditParseResult parseConfig(ConfigEdit& edit, script::FieldCursor& cursor) {
    return parseEditWords(edit.mode, edit.lineList, cursor, [&](const std::string& word) {
        if (equalsIgnoreCase(word, "BUFFERMIN"))
            return readMinimum(cursor, edit.buffersMinimum);
        if (equalsIgnoreCase(word, "FILEMIN"))
            return readMinimum(cursor, edit.filesMinimum);
        return false;
    });
}

} // namespace kestrel::sysedit
