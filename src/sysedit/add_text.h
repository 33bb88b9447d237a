// ADDTEXT: one line inserted into a text file, or put in place of a line, after the files are
// installed.
//
//   ADDTEXT "text" file | "file" ["where"] [REPLACE]
//
// Where is a line number (negative ones count from the end) or a text that the line to insert
// before, or replace, must equal; a text ending in "*" matches a line that begins with the rest.
// Together with a `search` condition the text can rebuild the line found there: $LEFT$ and
// $RIGHT$ stand for the parts of that line before and after the match, $SEARCH$ for its number.
// They are replaced when the line is read, so they belong to the search evaluated before it.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/parse_result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel::sysedit {

struct TextInsertion {
    static constexpr size_t kTextCapacity = 998;
    static constexpr size_t kFileCapacity = 498;
    static constexpr size_t kWhereCapacity = 501;

    std::string text; // the line to insert, or the replacement
    std::string file;
    std::string where; // a line number or a search text; empty: append at the end
    bool replace = false;
};

// The values of the last successful `search` condition.
struct SearchTokens {
    std::string_view left;       // $LEFT$: the line before the match
    std::string_view right;      // $RIGHT$: the line after the match
    std::string_view lineNumber; // $SEARCH$: the line's number in decimal
};

// Reads an ADDTEXT line's fields from the cursor, positioned after the keyword, replacing the
// search tokens in the text and in where. An error: nothing after the text, or a text longer
// than its place (after its tokens are replaced). An unquoted text reads as empty, and words
// other than REPLACE are passed over (with warnings).
lexical::Parsed<TextInsertion> parseAddText(lexical::FieldCursor& cursor,
                                            const SearchTokens& tokens);

// Replaces every occurrence of token (written in capitals; matched ignoring case) in text by
// value. The rest of the text keeps its case, and what a value brings in is not searched again.
// False, with text unchanged, when the result would be longer than capacity.
bool replaceToken(std::string& text, std::string_view token, std::string_view value,
                  size_t capacity);

} // namespace kestrel::sysedit
