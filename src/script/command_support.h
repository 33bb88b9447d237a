// What every command handler of the interpreter works with, and the readers they share. Internal to
// the interpreter.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/option_tables.h"
#include "script/install_script.h"
#include "script/plugin_globals.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::script {

struct InterpreterServices;
class InterpreterLines;

enum class CommandResult {
    Done,  // go on with the next line
    Error, // the line is a script error
    Stop,  // EXITMESSAGE was shown: the installation ends without an error message
};

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
    InterpreterLines& lines;
    bool deferredPass = false;
    // MINDISKSPACE per group number, -1 where no command set one (main pass only).
    std::array<int32_t, lexical::OptionTables::kSize>& groupMinDiskSpace;

    // The line being interpreted and its number, as they were before the command ran.
    int32_t keywordLineNumber = 0;
    std::string keywordLine;
    std::optional<ErrorSpot> errorSpot;

    lexical::FieldCursor& cursor() { return script.cursor; }
    CommandResult failAt(int32_t lineNumber, std::string text) {
        errorSpot = ErrorSpot{lineNumber, std::move(text)};
        return CommandResult::Error;
    }
};

using CommandHandler = CommandResult (*)(CommandContext&);

inline CommandResult failedIf(bool condition) {
    return condition ? CommandResult::Error : CommandResult::Done;
}

// Handlers by family.
CommandResult commandTitle(CommandContext&);
CommandResult commandTitleColour(CommandContext&);
CommandResult commandScreenColour(CommandContext&);
CommandResult commandFontName(CommandContext&);
CommandResult commandShowReadme(CommandContext&);
CommandResult commandMinCpuType(CommandContext&);
CommandResult commandMinDiskSpace(CommandContext&);
CommandResult commandProgressBar(CommandContext&);
CommandResult commandOverwriteFile(CommandContext&);
CommandResult commandCompression(CommandContext&);
CommandResult commandUninstall(CommandContext&);
CommandResult commandRebootWindows(CommandContext&);
CommandResult commandRebootSystem(CommandContext&);
CommandResult commandReboot(CommandContext&);
CommandResult commandRunAtStart(CommandContext&);
CommandResult commandRunAtExit(CommandContext&);
CommandResult commandRegServer(CommandContext&);
CommandResult commandScreenGraphic(CommandContext&);
CommandResult commandIntroScreen(CommandContext&);

CommandResult commandBeginFirstScreen(CommandContext&);
CommandResult commandBeginLastScreen(CommandContext&);
CommandResult commandExitMessage(CommandContext&);
CommandResult commandPopMessage(CommandContext&);
CommandResult commandBeginGroup(CommandContext&);
CommandResult commandBeginRegistry(CommandContext&);

CommandResult commandFile(CommandContext&);
CommandResult commandInsertDisk(CommandContext&);
CommandResult commandAutoexec(CommandContext&);
CommandResult commandConfig(CommandContext&);
CommandResult commandWinItem(CommandContext&);
CommandResult commandIniFile(CommandContext&);
CommandResult commandAddText(CommandContext&);
CommandResult commandDelete(CommandContext&);
CommandResult commandRename(CommandContext&);

CommandResult commandDefaultDir(CommandContext&);
CommandResult commandDir2(CommandContext&);
CommandResult commandDir3(CommandContext&);
CommandResult commandAsk1(CommandContext&);
CommandResult commandAsk2(CommandContext&);
CommandResult commandAsk3(CommandContext&);
CommandResult commandAsk4(CommandContext&);
CommandResult commandAsk5(CommandContext&);

struct PromptTextCommand {
    std::string_view keyword;
    CommandHandler handler;
};
inline constexpr size_t kPromptTextCommandCount = 20;
extern const PromptTextCommand kPromptTextCommands[kPromptTextCommandCount];

} // namespace kestrel::script
