// WINITEM: one Program Manager group, and optionally one program item in it, as a script line
// asks for it. Parsing only; the items are made by the Program Manager phase at the end of an
// installation.
//
//   WINITEM "group" "command line" "title" "working dir\" "icon file" index [, replace|remove]
//
// Every field may be left off from the end. The working directory can only be given when it
// ends with a backslash: a fourth field without one is the icon file. The mode word is the word
// after the line's last comma, wherever that comma stands.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/parse_result.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel::sysedit {

enum class WinItemMode : int32_t {
    Add = 0,
    Replace = 1, // the item is deleted first
    Remove = 2,  // the item, or with no command line the whole group, is deleted
};

struct WinItemEntry {
    static constexpr size_t kGroupCapacity = 498;
    static constexpr size_t kCommandLineCapacity = 998;
    static constexpr size_t kItemNameCapacity = 498;
    static constexpr size_t kDirectoryCapacity = 498;
    static constexpr size_t kIconPathCapacity = 498;
    static constexpr size_t kIconIndexCapacity = 1000;

    std::string group;       // its leading path macro is expanded when the phase runs
    std::string commandLine; // empty for an entry that only makes (or removes) the group
    std::string itemName;
    std::string defaultDirectory;
    std::string iconPath;
    std::string iconIndex; // used as written, no macros
    WinItemMode mode = WinItemMode::Add;
};

// Reads the fields of a WINITEM line from the cursor, positioned after the keyword, and takes
// the line to its end. The cursor's own text is left as it is, so an error can show the whole
// line. The line takes whatever fields it has: a missing, unquoted or unclosed field reads as
// empty, with a warning. An error only for a field longer than its place, and for a comma
// inside a quoted field followed by "remove", which would delete the whole group.
lexical::Parsed<WinItemEntry> parseWinItemEntry(lexical::FieldCursor& cursor);

} // namespace kestrel::sysedit
