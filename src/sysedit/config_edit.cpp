#include "sysedit/config_edit.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"

#include <cstdint>
#include <string>

namespace kestrel::sysedit {

namespace {

using lexical::equalsIgnoringAsciiCase;

// "=n": the digits at the start of the word, up to the first other character. A word that does
// not begin with a digit (a sign, a letter, nothing) is refused, and so is a value beyond the
// 32-bit range: either would quietly ask for no minimum at all.
bool readMinimum(lexical::FieldCursor& cursor, int32_t& minimum) {
    if (!cursor.takeEquals())
        return false;
    const std::string word = cursor.readWord();
    if (!lexical::startsWithDigit(word))
        return false;
    const std::optional<int32_t> value = lexical::leadingDigits(word);
    if (!value)
        return false;
    minimum = *value;
    return true;
}

} // namespace

lexical::ParseStatus parseConfig(ConfigEdit& edit, lexical::FieldCursor& cursor) {
    return parseEditWords(edit.mode, edit.lineList, cursor, [&](const std::string& word) {
        if (equalsIgnoringAsciiCase(word, "BUFFERMIN"))
            return readMinimum(cursor, edit.buffersMinimum);
        if (equalsIgnoringAsciiCase(word, "FILEMIN"))
            return readMinimum(cursor, edit.filesMinimum);
        return false;
    });
}

} // namespace kestrel::sysedit
