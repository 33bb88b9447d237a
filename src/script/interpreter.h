// The command interpreter: takes each line of the script, reads its keyword and either stores what
// the command says in the settings record of the InstallScript or builds an item for one of its
// lists. It installs nothing itself, with two exceptions: EXITMESSAGE shows its text and ends the
// installation, and the conditions of IF lines test the machine as they are met.
//
// It runs once over the script file (the main pass, at the start of an installation), and once over
// each deferred IF block after the user has answered the questions (the deferred pass). The first
// error ends the run. The interpreter shows no error itself: it returns the error and its line to
// its caller, which shows it (showScriptError does it as the installer must) or prints it, and
// the warnings likewise.
#pragma once

#include "script/install_script.h"
#include "script/parser_state.h"
#include "script/plugin_globals.h"
#include "script/script_reader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::files {
class PackedFileLayer;
}
namespace kestrel::os {
class Prompts;
class SystemInfo;
class Drives;
class DirectorySearch;
class RegistryReader;
class FileVersionReader;
class FileSystem;
class InputFile;
} // namespace kestrel::os
namespace kestrel::ui {
class TextMeasure;
}

namespace kestrel::script {

enum RunResult : int32_t {
    kRunSucceeded = 0,
    // An error, a script that cannot be opened (its message shown), or EXITMESSAGE.
    kRunStopped = 1,
};

// A line the interpreter has something to say about: its number, what is wrong, and the line.
struct ScriptDiagnostic {
    int32_t lineNumber = 0;
    std::string message;
    std::string line;
};

inline constexpr std::string_view kUnrecognizedCommand = "Unrecognized command";
inline constexpr std::string_view kUnknownKeywordPassedOver = "unknown keyword, line passed over";

// What one run of the interpreter came to.
struct RunReport {
    RunResult result = kRunSucceeded;
    // The script error that stopped the run: the line at fault.
    std::optional<ScriptDiagnostic> error;
    // Lines read leniently, in order: an unknown keyword alone on its line, and whatever an
    // item parser accepted with a warning.
    std::vector<ScriptDiagnostic> warnings;

    bool succeeded() const { return result == kRunSucceeded; }
};

// Shows a script error as the installer does: the line at fault in a message box captioned
// "Unrecognized command: line: " and its number, with the exclamation icon.
void showScriptError(os::Prompts& prompts, const ScriptDiagnostic& error);

struct InterpreterServices {
    os::Prompts& prompts;
    ui::TextMeasure& measure;            // screen blocks are measured as they are read
    files::PackedFileLayer& scriptFiles; // the main pass opens the script through it

    // What the IF tests ask of the machine.
    os::SystemInfo& system;
    os::Drives& drives;
    os::DirectorySearch& directories;
    os::RegistryReader& registry;
    os::FileVersionReader& versions;
    os::FileSystem& files;
    // Told the file name before a `locate` test searches the drives. May be empty.
    std::function<void(const std::string& fileName)> announceDriveSearch;

    // The destination when the script names none (unless it lies on the source's drive).
    std::string workingDirectory;
};

class Interpreter {
  public:
    // Messages of the line reader go to the services' prompts.
    Interpreter(InstallScript& script, PluginGlobals& globals, InterpreterServices& services);
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // The reader holds the script's key, to be set before the main pass.
    ScriptReader& reader() { return state_.reader; }
    const ParserState& state() const { return state_; }

    // The main pass over the script file scriptPath (a member of the packed installation file or a
    // file of its own), read with the key the script's reader holds.
    RunReport runScript(const std::string& scriptPath);
    // The main pass over a script file already opened; name is what a message calls it.
    RunReport runScript(std::unique_ptr<os::InputFile> file, const std::string& name);
    // The deferred pass: each deferred block once, in the order the main pass made them. Stops at
    // the first block that fails, or at once when blocks were lost.
    RunReport runDeferredPass();

  private:
    RunReport mainPass(MainPassStart start, const std::string& name);
    RunReport run(bool deferredPass);

    InstallScript& script_;
    PluginGlobals& globals_;
    InterpreterServices& services_;
    ParserState state_;
};

} // namespace kestrel::script
