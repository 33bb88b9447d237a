// What every command handler of the interpreter works with. Internal to the interpreter.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/option_tables.h"
#include "lexical/parse_result.h"
#include "script/command_table.h"
#include "script/install_script.h"
#include "script/parser_state.h"
#include "script/plugin_globals.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::script {

struct InterpreterServices;
struct ScriptDiagnostic;
class InterpreterLines;

// Where an error lies when it is not the line being interpreted (a line inside a block, or the
// keyword line of a block whose end never came).
struct ErrorSpot {
    int32_t lineNumber = 0;
    std::string text;
};

struct CommandContext {
    InstallScript& script;
    PluginGlobals& globals;
    InterpreterServices& services;
    ParserState& state;
    InterpreterLines& lines;
    bool deferredPass = false;
    // MINDISKSPACE per group number, -1 where no command set one (main pass only).
    std::array<int32_t, lexical::OptionTables::kSize>& groupMinDiskSpace;
    // Warnings of the run, for its report.
    std::vector<ScriptDiagnostic>& warnings;

    // The command being carried out, the line it stands on and that line's number, as they
    // were before the command ran.
    const CommandSpec* command = nullptr;
    int32_t keywordLineNumber = 0;
    std::string keywordLine;
    std::optional<ErrorSpot> errorSpot;

    lexical::FieldCursor& cursor() { return state.cursor; }
    CommandResult failAt(int32_t lineNumber, std::string text) {
        errorSpot = ErrorSpot{lineNumber, std::move(text)};
        return CommandResult::Error;
    }
    // An item parser's verdict: its warnings go into the report under their lines, and an
    // error makes this line a script error.
    CommandResult take(const lexical::ParseStatus& status);
    // A lenient reading of this line, for the report.
    void warn(std::string message);
};

inline CommandResult failedIf(bool condition) {
    return condition ? CommandResult::Error : CommandResult::Done;
}

} // namespace kestrel::script
