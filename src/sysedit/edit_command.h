// What the commands that edit the machine's configuration files share: whether the edit is
// made at all, and whether the user confirms it; and how a command line's reading ends.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/parse_result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrel::sysedit {

enum class EditMode : int32_t {
    None = 0,          // no command seen: nothing is done
    Modify = 1,        // the change is made without a question
    ModifyThenAsk = 2, // ASK: the user confirms (AUTOEXEC, CONFIG) or is asked first (INIFILE)
};

// Reads the words of an AUTOEXEC or CONFIG line from the cursor, positioned after the keyword.
// The first such line turns the edit on (mode Modify), ASK asks the user to confirm it and
// ADD="line" adds a line to lineList (ADD without "=" or without a closed quoted text is a
// syntax error). Every other word goes to readOwnWord, which answers false for a syntax error,
// an unknown word among them. A syntax error makes the line a script error.
lexical::ParseStatus
parseEditWords(EditMode& mode, std::vector<lexical::MacroString>& lineList,
               lexical::FieldCursor& cursor,
               const std::function<bool(const std::string& word)>& readOwnWord);

} // namespace kestrel::sysedit
