#include "sysedit/edit_command.h"

#include "script/ansi_text.h"
#include "script/quoted_field.h"

#include <optional>

namespace kestrel::sysedit {

EditParseResult parseEditWords(EditMode& mode, std::vector<script::MacroString>& lineList,
                               script::FieldCursor& cursor,
                               const std::function<bool(const std::string& word)>& readOwnWord) {
    if (mode == EditMode::None)
        mode = EditMode::Modify;
    while (!cursor.atEnd()) {
        const std::string word = cursor.readWord();
        if (script::equalsIgnoreCase(word, "ASK")) {
            mode = EditMode::ModifyThenAsk;
        } else if (script::equalsIgnoreCase(word, "ADD")) {
            if (!cursor.takeEquals())
                return EditParseResult::SyntaxError;
            std::optional<std::string> line = script::readRequiredQuoted(cursor);
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
