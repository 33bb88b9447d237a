// What the commands that edit the machine's configuration files share: whether the edit is
// made at all, and whether the user confirms it; and how a command line's reading ends.
#pragma once

#include <cstdint>

namespace kestrel::sysedit {

enum class EditMode : int32_t {
    None = 0,          // no command seen: nothing is done
    Modify = 1,        // the change is made without a question
    ModifyThenAsk = 2, // ASK: the user confirms (AUTOEXEC, CONFIG) or is asked first (INIFILE)
};

enum class EditParseResult : int32_t {
    Ok = 0,
    SyntaxError = 1, // the interpreter reports the line
};

} // namespace kestrel::sysedit
