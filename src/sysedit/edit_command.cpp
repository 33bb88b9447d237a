#include "sysedit/edit_command.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/quoted_field.h"

#include <optional>

namespace kestrel::sysedit {

lexical::ParseStatus
parseEditWords(EditMode& mode, std::vector<lexical::MacroString>& lineList,
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
                return lexical::parseError();
            std::optional<std::string> line = lexical::readRequiredQuoted(cursor);
            if (!line)
                return lexical::parseError();
            lineList.emplace_back(*line);
        } else if (!readOwnWord(word)) {
            return lexical::parseError();
        }
    }
    return {};
}

} // namespace kestrel::sysedit
