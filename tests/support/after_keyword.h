// A script line's cursor as the interpreter hands it to an item parser: the keyword read, the
// position on the first argument.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/macros.h"

#include <string>

namespace kestrel::test {

inline lexical::FieldCursor afterKeyword(const std::string& line,
                                         const lexical::MacroVariables* macros = nullptr) {
    lexical::FieldCursor cursor(line, macros);
    cursor.readKeyword();
    return cursor;
}

} // namespace kestrel::test
