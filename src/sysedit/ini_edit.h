// INIFILE: one key of one section of an INI file, set after the files are installed.
//
//   INIFILE "section" "key" ["value"] [file | "file"] [ASK] [ADD] [OVERWRITE]
//
// The file is WIN.INI unless named. ASK asks before the change; ADD puts the new value after an
// existing different one (separated by a blank) instead of replacing it; OVERWRITE is the
// default and changes nothing.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/parse_result.h"
#include "sysedit/edit_command.h"

#include <cstddef>
#include <string>

namespace kestrel::sysedit {

struct IniEdit {
    static constexpr size_t kSectionCapacity = 498;
    static constexpr size_t kKeyCapacity = 498;
    static constexpr size_t kValueCapacity = 998;
    static constexpr size_t kFileCapacity = 498;
    static constexpr const char* kDefaultFile = "WIN.INI";

    EditMode mode = EditMode::Modify; // ModifyThenAsk: ask first
    bool add = false;
    std::string section;
    std::string key;
    std::string value;
    std::string file = kDefaultFile;
};

// Reads an INIFILE line's fields from the cursor, positioned after the keyword. A field that is
// missing, unquoted or never closed reads as empty (with a warning). An error: a field longer
// than its place, or an unknown option.
lexical::Parsed<IniEdit> parseIniFile(lexical::FieldCursor& cursor);

} // namespace kestrel::sysedit
