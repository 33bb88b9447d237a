// The new text of an ADDTEXT target: the original bytes and the insertion in, the new bytes and
// the log lines out. Lines are whole physical lines however long; the others stay byte for byte.
#pragma once

#include "lexical/macros.h"
#include "sysedit/add_text.h"
#include "sysedit/text_file_lines.h"

#include <string>
#include <string_view>

namespace kestrel::sysedit {

// A TextInsertion with its macros expanded.
struct AddTextRequest {
    std::string text;
    std::string file; // as the script names it, for the log
    std::string where;
    bool replace = false;
};

AddTextRequest addTextRequest(const TextInsertion& insertion,
                              const lexical::MacroVariables& macros);

// Where the text goes: a line number (negative ones count from the end: without REPLACE -1
// appends after the last line, with it -1 is the last line; a number beyond the end appends),
// the line after (or, with REPLACE, the line itself) that equals where (ignoring case) or
// begins with it when where ends in "*", or the end of the file when where is empty. Without
// REPLACE nothing changes when a line equals the text already. With REPLACE a text ending in
// "*" is put in front of the line instead of in its place, and a where that matches nothing
// changes nothing. created: the file did not exist, and its FILE line comes first.
TextRewrite rewriteAddText(std::string_view original, bool created, const AddTextRequest& request);

} // namespace kestrel::sysedit
