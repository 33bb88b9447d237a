#include "sysedit/ini_edit.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/quoted_field.h"
#include "lexical/warning_texts.h"

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

bool fitsItsPlaces(const IniEdit& edit) {
    return edit.section.size() <= IniEdit::kSectionCapacity &&
           edit.key.size() <= IniEdit::kKeyCapacity &&
           edit.value.size() <= IniEdit::kValueCapacity &&
           edit.file.size() <= IniEdit::kFileCapacity;
}

// Section, key, value (quoted, each left empty when missing or unquoted; the line may end after
// any of them), file, options; false for an unknown option.
bool readFields(lexical::FieldCursor& cursor, IniEdit& edit, lexical::ParseStatus& status) {
    bool unquotedNoted = false;
    const auto quoted = [&](std::string& target) {
        target = lexical::readQuotedInRun(cursor, status, unquotedNoted);
        return !cursor.atEnd();
    };
    const bool more = quoted(edit.section) && quoted(edit.key) && quoted(edit.value);
    if (edit.section.empty() || edit.key.empty())
        status.warn("INIFILE without a section or key name: an empty one is written");
    if (!more)
        return true;

    // The file, quoted or a word. An option word in its place is taken as the option, with the
    // file left as WIN.INI: "value" ASK asks rather than writing to a file named ASK.
    std::string file = cursor.readQuoted();
    if (file.empty()) {
        file = cursor.readWord();
        if (isOptionWord(file)) {
            applyOption(file, edit);
            status.warn(file + " in the place of the file is read as the option: the file is " +
                        IniEdit::kDefaultFile);
            file = IniEdit::kDefaultFile;
        } else if (file.empty()) {
            status.warn("INIFILE with an empty file name");
        }
    }
    edit.file = std::move(file);
    while (!cursor.atEnd())
        if (!applyOption(cursor.readWord(), edit))
            return false;
    return true;
}

} // namespace

lexical::Parsed<IniEdit> parseIniFile(lexical::FieldCursor& cursor) {
    lexical::Parsed<IniEdit> parsed;
    parsed.error = !readFields(cursor, parsed.item, parsed) || !fitsItsPlaces(parsed.item);
    return parsed;
}

} // namespace kestrel::sysedit
