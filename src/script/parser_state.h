// What the interpreter keeps while it reads one installation's script: the line being read,
// the reader with its deferred blocks, the IF / ELSE / ENDIF state and the rest of the reading
// machinery. It lives as long as the interpreter, from the main pass to the deferred pass; what
// the script means goes into the InstallScript instead.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "script/conditional_state.h"
#include "script/conditions.h"
#include "script/script_reader.h"
#include "ui/dialog_template.h"
#include "ui/text_store.h"

#include <cstdint>
#include <string>
#include <utility>

namespace kestrel::script {

struct ParserState {
    ParserState(const lexical::MacroVariables& macros, ScriptReader::MessageSink showMessage)
        : cursor(&macros), reader(std::move(showMessage)) {}

    // The line being interpreted; its text is what an error names.
    lexical::FieldCursor cursor;
    // The script's lines, the deferred blocks, and the IF / ELSE / ENDIF state.
    ScriptReader reader;
    ConditionalState conditional;
    // The current line's number: the last line delivered by the reader.
    int32_t lineNumber = 0;
    // Set by a failing command or condition; the run ends with an error.
    bool error = false;

    // Where screen blocks wait between reading and building, and what the group blocks have
    // made so far.
    ui::TextStore textStore;
    ui::GroupBuildState groupBuild;
    // The font face and size a BEGINFIRSTSCREEN or BEGINLASTSCREEN line gives its own block.
    std::string blockFontFace;
    int32_t blockFontSize = 0;

    // What the last successful `search` and `locate` tests found.
    FoundPosition foundPosition;
    bool located = false;
};

} // namespace kestrel::script
