// Quoted fields that a command must tell apart from missing or broken ones. readQuoted gives an
// empty field both for a missing quote and for a quote that is never closed, which would let a
// mistyped line read as other fields; parsers that must tell these apart read through here.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/parse_result.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::lexical {

// A quoted field as written: absent (no quote at the position), unterminated (the closing
// quote is missing) or complete, possibly empty.
struct QuotedField {
    enum class State { Absent, Unterminated, Complete };
    State state = State::Absent;
    std::string text;

    bool complete() const { return state == State::Complete; }
};

// Skips separators and reads a quoted field, telling the three states apart. The cursor moves
// exactly as FieldCursor::readQuoted moves it. The closing quote is looked for in the line as
// the read left it, so a field whose quote a leading macro pushed past the line's capacity is
// unterminated.
QuotedField readQuotedField(FieldCursor& cursor);

// Skips separators and reads a field that begins with a quote and is closed again. Nothing
// (the position as readQuoted leaves it) when the next field does not begin with a quote or
// the line ends inside the quotes.
std::optional<std::string> readRequiredQuoted(FieldCursor& cursor);

// True when the next field, after separators, begins with a quote.
bool quotedFieldFollows(FieldCursor& cursor);

// A field in quotes when a quote comes first, or else a word as conditions read one. A quote
// never closed reads as empty.
std::string readQuotedOrConditionWord(FieldCursor& cursor);

// A field the language reads with readQuoted where the script may have left it out or written
// it without quotes: either way it reads as empty, and status hears of it under the name what.
// (A quote never closed also reads as empty; the cursor remembers that one.)
std::string readExpectedQuoted(FieldCursor& cursor, ParseStatus& status, std::string_view what);

// readQuoted for one of a run of quoted fields (WINITEM, INIFILE). The first field of the run that
// is there but not quoted is noted in status; it and every later field then read as empty, the
// word staying where it is. noted remembers that it was told.
std::string readQuotedInRun(FieldCursor& cursor, ParseStatus& status, bool& noted);

// A field written with or without quotes, as most commands read a name: readQuoted, then
// readWord when that gave nothing (so an unterminated or empty quote reads the next word).
std::string readTextOrWord(FieldCursor& cursor);

} // namespace kestrel::lexical
