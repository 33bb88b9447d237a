// The ADDTEXT phase: each text insertion of the script, in script order, after the INI edits.
#pragma once

#include "lexical/macros.h"
#include "sysedit/add_text.h"
#include "sysedit/file_rewrite.h"

#include <vector>

namespace kestrel::sysedit {

// Inserts the text into its file (a relative name is taken in the destination directory; a
// missing file is created and logged with a FILE line) and logs an ADDTEXT line once the new
// file is in place.
EditOutcome applyTextInsertion(const TextInsertion& insertion,
                               const lexical::MacroVariables& macros, EditServices& services);

void runAddTextPhase(const std::vector<TextInsertion>& insertions,
                     const lexical::MacroVariables& macros, EditServices& services);

} // namespace kestrel::sysedit
