#include "sysedit/config_edit.h"

#include "script/ansi_text.h"
#include "script/quoted_field.h"

#include <cstdint>
#include <optional>
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
    if (edit.mode == EditMode::None)
        edit.mode = EditMode::Modify;
    while (!cursor.atEnd()) {
        const std::string word = cursor.readWord();
        if (equalsIgnoreCase(word, "ASK")) {
            edit.mode = EditMode::ModifyThenAsk;
        } else if (equalsIgnoreCase(word, "BUFFERMIN")) {
            if (!readMinimum(cursor, edit.buffersMinimum))
                return EditParseResult::SyntaxError;
        } else if (equalsIgnoreCase(word, "FILEMIN")) {
            if (!readMinimum(cursor, edit.filesMinimum))
                return EditParseResult::SyntaxError;
        } else if (equalsIgnoreCase(word, "ADD")) {
            if (!cursor.takeEquals())
                return EditParseResult::SyntaxError;
            std::optional<std::string> line = script::readRequiredQuoted(cursor);
            if (!line)
                return EditParseResult::SyntaxError;
            edit.lineList.emplace_back(*line);
        } else {
            return EditParseResult::SyntaxError;
        }
    }
    return EditParseResult::Ok;
}

} // namespace kestrel::sysedit
