#include "sysedit/ini_edit.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/quoted_field.h"

#include <optional>
#include <string_view>

namespace kestrel::sysedit {

namespace {

using lexical::equalsIgnoringAsciiCase;

bool isOptionWord(std::string_view word) {
    return equalsIgnoringAsciiCase(word, "ASK") || equalsIgnoringAsciiCase(word, "ADD") ||
           equalsIgnoringAsciiCase(word, "OVERWRITE");
}

bool applyOption(std::string_view word, IniEdit& edit) {
    if (equalsIgnoringAsciiCase(word, "ASK"))
        edit.mode = EditMode::ModifyThenAsk;
    else if (equalsIgnoringAsciiCase(word, "ADD"))
        edit.add = true;
    else if (!equalsIgnoringAsciiCase(word, "OVERWRITE"))
        return false;
    return true;
}

bool readQuotedInto(lexical::FieldCursor& cursor, std::string& target, size_t capacity) {
    std::optional<std::string> field = lexical::readRequiredQuoted(cursor);
    if (!field || field->size() > capacity)
        return false;
    target = std::move(*field);
    return true;
}

// Section, key, value, file, options; false on the first field that cannot be read.
bool readFields(lexical::FieldCursor& cursor, IniEdit& edit) {
    if (!readQuotedInto(cursor, edit.section, IniEdit::kSectionCapacity) || edit.section.empty())
        return false;
    if (!readQuotedInto(cursor, edit.key, IniEdit::kKeyCapacity) || edit.key.empty())
        return false;
    if (cursor.atEnd())
        return true;
    if (!readQuotedInto(cursor, edit.value, IniEdit::kValueCapacity))
        return false;
    if (cursor.atEnd())
        return true;

    // The file, quoted or a bare word. A bare option word here is the first option, with the
    // file left as WIN.INI: "value" ASK asks rather than writing to a file named ASK.
    if (lexical::quotedFieldFollows(cursor)) {
        if (!readQuotedInto(cursor, edit.file, IniEdit::kFileCapacity) || edit.file.empty())
            return false;
    } else {
        std::string word = cursor.readWord();
        if (isOptionWord(word))
            applyOption(word, edit);
        else if (word.empty() || word.size() > IniEdit::kFileCapacity)
            return false;
        else
            edit.file = std::move(word);
    }

    while (!cursor.atEnd())
        if (!applyOption(cursor.readWord(), edit))
            return false;
    return true;
}

} // namespace

lexical::Parsed<IniEdit> parseIniFile(lexical::FieldCursor& cursor) {
    lexical::Parsed<IniEdit> parsed;
    parsed.error = !readFields(cursor, parsed.item);
    return parsed;
}

} // namespace kestrel::sysedit
