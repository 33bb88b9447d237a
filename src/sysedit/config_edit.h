// CONFIG: the changes a script asks for in CONFIG.SYS, collected from every CONFIG line and
// made in one rewrite right after AUTOEXEC.BAT's.
//
//   CONFIG [ASK] [FILEMIN=n] [BUFFERMIN=n] [ADD="line"]...
//
// FILEMIN and BUFFERMIN raise the first FILES and BUFFERS lines to at least n (never lower
// them), or add such lines when there are none.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "sysedit/edit_command.h"

#include <cstdint>
#include <vector>

namespace kestrel::sysedit {

struct ConfigEdit {
    static constexpr int32_t kNotGiven = -1;

    EditMode mode = EditMode::None;
    int32_t buffersMinimum = kNotGiven;
    int32_t filesMinimum = kNotGiven;
    // Lines to add; an item's flag is 1 while the line is still to be added.
    std::vector<lexical::MacroString> lineList;
};

// Reads one CONFIG line's words from the cursor, positioned after the keyword, into the edit that
// all CONFIG lines share. A syntax error: an unknown word, ADD without "=", or a negative
// minimum or one beyond 32 bits. FILEMIN or BUFFERMIN without "=" passes over the rest of the
// line, and a minimum is read as atoi reads it (both with a warning).
lexical::ParseStatus parseConfig(ConfigEdit& edit, lexical::FieldCursor& cursor);

} // namespace kestrel::sysedit
