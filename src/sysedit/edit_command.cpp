#include "sysedit/edit_command.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/quoted_field.h"

namespace kestrel::sysedit {

lexical::ParseStatus parseEditWords(EditMode& mode, std::vector<lexical::MacroString>& lineList,
                                    lexical::FieldCursor& cursor,
                                    const OwnWordReader& readOwnWord) {
    if (mode == EditMode::None)
        mode = EditMode::Modify;
    lexical::ParseStatus status;
    while (!cursor.atEnd()) {
        const std::string word = cursor.readWord();
        if (lexical::equalsIgnoringAsciiCase(word, "ASK")) {
            mode = EditMode::ModifyThenAsk;
        } else if (lexical::equalsIgnoringAsciiCase(word, "ADD")) {
            if (!cursor.takeEquals())
                return lexical::parseError();
            lineList.emplace_back(lexical::readExpectedQuoted(cursor, status, "ADD line"));
        } else if (!readOwnWord(word, status)) {
            status.error = true;
            return status;
        }
    }
    return status;
}

} // namespace kestrel::sysedit
