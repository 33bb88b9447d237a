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
// ADD="line" adds a line to lineList (ADD without "=" is a syntax error; an unquoted value adds
// an empty line, with a warning). Every other word goes to readOwnWord, which answers false for
// a syntax error, an unknown word among them, and may add warnings to the status. A syntax
// error makes the line a script error.
using OwnWordReader = std::function<bool(const std::string& word, lexical::ParseStatus& status)>;
lexical::ParseStatus parseEditWords(EditMode& mode, std::vector<lexical::MacroString>& lineList,
                                    lexical::FieldCursor& cursor, const OwnWordReader& readOwnWord);

} // namespace kestrel::sysedit
