#include "sysedit/config_edit.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/warning_texts.h"

#include <cstdint>
#include <string>

namespace kestrel::sysedit {

namespace {

using lexical::equalsIgnoringAsciiCase;

// "=n": the word read as atoi reads it (no digits give 0, with a warning). Without "=" the rest
// of the line is passed over. A negative value is refused: it would write an invalid FILES or
// BUFFERS line into CONFIG.SYS (and -1 stands for "not given"); so is a value beyond 32 bits.
bool readMinimum(lexical::FieldCursor& cursor, std::string_view name, int32_t& minimum,
                 lexical::ParseStatus& status) {
    if (!cursor.takeEquals()) {
        status.warn(std::string(name) + " without '=': the rest of the line is passed over");
        cursor.skipToEnd();
        return true;
    }
    const std::string word = cursor.readWord();
    const lexical::LeadingNumber<int32_t> value = lexical::leadingInteger(word);
    if (value.value < 0 || !value.inRange)
        return false;
    if (!value.plain)
        status.warn(lexical::warnings::notANumber(name, word, std::to_string(value.value)));
    minimum = value.value;
    return true;
}

} // namespace

lexical::ParseStatus parseConfig(ConfigEdit& edit, lexical::FieldCursor& cursor) {
    return parseEditWords(edit.mode, edit.lineList, cursor,
                          [&](const std::string& word, lexical::ParseStatus& status) {
                              if (equalsIgnoringAsciiCase(word, "BUFFERMIN"))
                                  return readMinimum(cursor, "BUFFERMIN", edit.buffersMinimum,
                                                     status);
                              if (equalsIgnoringAsciiCase(word, "FILEMIN"))
                                  return readMinimum(cursor, "FILEMIN", edit.filesMinimum, status);
                              return false;
                          });
}

} // namespace kestrel::sysedit
