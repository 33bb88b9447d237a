// The command interpreter: takes each line of the script, reads its keyword and either stores what
// the command says in the settings record of the InstallScript or builds an item for one of its
// lists. It installs nothing itself, with two exceptions: EXITMESSAGE shows its text and ends the
// installation, and the conditions of IF lines test the machine as they are met.
//
// It runs once over the script file (the main pass, at the start of an installation), and once over
// each deferred IF block after the user has answered the questions (the deferred pass). Every error
// shows one message box, the offending line captioned "Unrecognized command: line: " and its
// number, and ends the run.
#pragma once

#include "script/install_script.h"
#include "script/plugin_globals.h"
#include "script/script_reader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

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
class InputFile;
} // namespace kestrel::os
namespace kestrel::ui {
class TextMeasure;
}

namespace kestrel::script {

enum RunResult : int32_t {
    kRunSucceeded = 0,
    // An error (already shown), a script that cannot be opened, or EXITMESSAGE.
    kRunStopped = 1,
};

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
    // Told of each line that an unknown keyword alone makes: such a line is passed over.
    std::function<void(int32_t lineNumber, std::string_view line)> ignoredLine;
};

class Interpreter {
  public:
    Interpreter(InstallScript& script, PluginGlobals& globals, InterpreterServices& services)
        : script_(script), globals_(globals), services_(services) {}

    // The main pass over the script file scriptPath (a member of the packed installation file or a
    // file of its own), read with the key the script's reader holds.
    RunResult runScript(const std::string& scriptPath);
    // The main pass over a script file already opened; name is what a message calls it.
    RunResult runScript(std::unique_ptr<os::InputFile> file, const std::string& name);
    // The deferred pass: each deferred block once, in the order the main pass made them.
    DeferredPassResult runDeferredPass();

  private:
    RunResult mainPass(MainPassStart start, const std::string& name);
    RunResult run(bool deferredPass);

    InstallScript& script_;
    PluginGlobals& globals_;
    InterpreterServices& services_;
};

} // namespace kestrel::script
