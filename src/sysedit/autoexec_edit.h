// AUTOEXEC: the changes a script asks for in AUTOEXEC.BAT, collected from every AUTOEXEC line
// and made in one rewrite after the files are installed.
//
//   AUTOEXEC [ASK] [ADDPATH | ADDPATH="dir"]... [SHARE | SHARE="/F:n /L:n"] [ADD="line"]...
//
// ADDPATH alone adds the destination directory to the PATH; SHARE asks for a SHARE line whose
// /F: and /L: values are at least those given.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "sysedit/edit_command.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::sysedit {

struct AutoexecEdit {
    EditMode mode = EditMode::None;
    bool addDestination = false;                // ADDPATH without a directory
    std::vector<lexical::MacroString> pathList; // directories for the PATH, in script order
    // Lines to add; an item's flag is 1 while the line is still to be added.
    std::vector<lexical::MacroString> lineList;
    bool shareWanted = false;
    int32_t shareFiles = 0; // /F: wanted; 0 = none
    int32_t shareLocks = 0; // /L: wanted; 0 = none
};

// Reads one AUTOEXEC line's words from the cursor, positioned after the keyword, into the edit
// that all AUTOEXEC lines share. A syntax error: an unknown word, ADD without "=", or a SHARE
// value beyond the 32-bit range. A value after "=" that is not quoted reads as empty.
lexical::ParseStatus parseAutoexec(AutoexecEdit& edit, lexical::FieldCursor& cursor);

// The /F: and /L: values of a SHARE text, 0 for one that is absent.
struct ShareValues {
    int32_t files = 0;
    int32_t locks = 0;
};

// Turns text to upper case in place (SHARE lines are written back that way) and takes its
// values: after "/F:" or "/L:", white space is skipped and the decimal digits that follow are
// the value (0 without digits). False when a value does not fit in 32 bits; it is then held at
// the largest one.
bool readShareValues(std::string& text, ShareValues& values);

} // namespace kestrel::sysedit
