#include "sysedit/edit_command.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/quoted_field.h"

#include <optional>

namespace kestrel::sysedit {

EditParseResult parseEditWords(EditMode& mode, std::vector<lexical::MacroString>& lineList,
                               lexical::FieldCursor& cursor,
                               const std::function<bool(const std::string& word)>& readOwnWord) {
    if (mode == EditMode::None)
        mode = EditMode::Modify;
    while (!cursor.atEnd()) {
        const std::string word = cursor.readWord();
        if (lexical::equalsIgnoringAsciiCase(word, "ASK")) {
            mode = EditMode::ModifyThenAsk;
        } else if (lexical::equalsIgnoringAsciiCase(word, "ADD")) {
            if (!cursor.takeEquals())
                return EditParseResult::SyntaxError;
            std::optional<std::string> line = lexical::readRequiredQuoted(cursor);
            if (!line)
                return EditParseResult::SyntaxError;
            lineList.emplace_back(*line);
        } else if (!readOwnWord(word)) {
            return EditParseResult::SyntaxError;
        }
    }
    return EditParseResult::Ok;
}

} // namespace kestrel::sysedit
