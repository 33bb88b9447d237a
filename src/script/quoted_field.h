// A quoted field that a command cannot do without. readQuoted gives an empty field both for a
// missing quote and for a quote that is never closed, which would let a mistyped line read as
// other fields; parsers that must tell these apart read through here.
#pragma once

#include "script/field_cursor.h"

#include <optional>
#include <string>

namespace kestrel::script {

// Skips separators and reads a field that begins with a quote and is closed again. Nothing
// (the position as readQuoted leaves it) when the next field does not begin with a quote or
// the line ends inside the quotes.
std::optional<std::string> readRequiredQuoted(FieldCursor& cursor);

// True when the next field, after separators, begins with a quote.
bool quotedFieldFollows(FieldCursor& cursor);

} // namespace kestrel::script
