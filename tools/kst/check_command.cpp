// kst check: runs a script's main pass on a described machine and says what the installer
// would: each message it would show, and for a script error the file, the line number and the
// line ("FILE:LINE: error: Unrecognized command: LINE"). With --json it prints what the script
// means instead: the settings record and every item list.
#include "command.h"
#include "described_machine.h"
#include "files/packed_file.h"
#include "json_writer.h"
#include "os/memory_input_file.h"
#include "os/prompts.h"
#include "script/install_script.h"
#include "script/interpreter.h"
#include "script/plugin_globals.h"
#include "script/script_codec.h"
#include "script_json.h"
#include "ui/text_measure.h"

#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

namespace kst {
namespace {

using namespace kestrel;

struct CheckOptions {
    std::string script;
    bool plain = false;
    bool json = false;
    std::string windowsVersion = "4.0";
    std::string dosVersion = "7.10";
    std::vector<std::string> drives;
    std::vector<std::string> files;
    std::vector<std::string> directories;
    uint64_t memoryKb = 16384;
    uint32_t bitsPerPixel = 8;
    std::string resolution = "800x600";
    std::string windowsDir = "C:\\WINDOWS";
    std::string systemDir;
    std::string workingDir = "C:\\WINDOWS";
    std::string sourceDir;
};

// What the installer would show in a box, as lines of text.
class PrintingPrompts : public os::Prompts {
  public:
    PrintingPrompts(std::string file, std::ostream& messages)
        : file_(std::move(file)), messages_(messages) {}

    os::PromptResult messageBox(std::string_view text, std::string_view, uint32_t type) override {
        messages_ << file_ << ": message: " << text << '\n';
        return (type & os::kMbYesNo) ? os::kIdYes : os::kIdOk;
    }
    os::PromptResult showScreen(const os::ScreenDialog& screen) override {
        for (const std::string& line : screen.lines)
            messages_ << file_ << ": exit message: " << line << '\n';
        return os::kIdOk;
    }

  private:
    std::string file_;
    std::ostream& messages_;
};

// Screen lines measured as the system font draws them on average: every character as wide as
// the font's base width, so a line of n characters is n - 6 characters wide in the dialog.
class AverageWidthMeasure : public ui::TextMeasure {
  public:
    int baseCharWidth() override { return kWidth; }
    int textWidth(const ui::MeasureFont&, std::string_view text) override {
        return kWidth * static_cast<int>(text.size());
    }

  private:
    static constexpr int kWidth = 7;
};

// The machine from the options; an error text for an option that does not describe one.
std::optional<std::string> describe(const CheckOptions& options, DescribedMachine*& machine,
                                    std::unique_ptr<DescribedMachine>& owner) {
    MachineDescription description;
    const auto windows = parseVersion(options.windowsVersion);
    if (!windows)
        return "--winver needs major.minor, such as 4.0, not \"" + options.windowsVersion + "\"";
    const auto dos = parseVersion(options.dosVersion);
    if (!dos)
        return "--dosver needs major.minor, such as 6.22, not \"" + options.dosVersion + "\"";
    description.windowsMajor = windows->first;
    description.windowsMinor = windows->second;
    description.dosMajor = dos->first;
    description.dosMinor = dos->second;
    description.memoryBytes = options.memoryKb * 1024;
    description.display.bitsPerPixel = options.bitsPerPixel;
    unsigned width = 0, height = 0;
    char x = 0, extra = 0;
    std::istringstream resolution(options.resolution);
    if (!(resolution >> width >> x >> height) || (x != 'x' && x != 'X') || resolution >> extra)
        return "--resolution needs WIDTHxHEIGHT, such as 800x600, not \"" + options.resolution +
               "\"";
    description.display.width = width;
    description.display.height = height;
    for (const std::string& drive : options.drives) {
        const auto type = drive.size() > 2 ? parseDriveType(drive.substr(2)) : std::nullopt;
        if (!type || drive[1] != ':' || !std::isalpha(static_cast<unsigned char>(drive[0])))
            return "--drive needs LETTER:TYPE (fixed, removable, network, cdrom, ramdisk), not \"" +
                   drive + "\"";
        description.drives[static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])))] =
            *type;
    }
    description.windowsDir = options.windowsDir;
    description.systemDir =
        options.systemDir.empty() ? options.windowsDir + "\\SYSTEM" : options.systemDir;
    description.workingDirectory = options.workingDir;
    description.sourceDir = options.sourceDir;

    owner = std::make_unique<DescribedMachine>(description);
    machine = owner.get();
    machine->addDirectory(description.windowsDir);
    machine->addDirectory(description.systemDir);
    machine->addDirectory(description.workingDirectory);
    for (const std::string& directory : options.directories)
        machine->addDirectory(directory);
    for (const std::string& file : options.files) {
        const size_t equals = file.find('=');
        std::string contents;
        if (equals != std::string::npos) {
            const auto local = readWholeFile(file.substr(equals + 1));
            if (!local)
                return "--file: cannot read \"" + file.substr(equals + 1) + "\"";
            contents = *local;
        }
        machine->addFile(file.substr(0, equals), std::move(contents));
    }
    return std::nullopt;
}

int check(const CheckOptions& options) {
    DescribedMachine* machine = nullptr;
    std::unique_ptr<DescribedMachine> owner;
    if (const auto problem = describe(options, machine, owner))
        return fail(options.script, *problem);

    const auto bytes = readWholeFile(options.script);
    if (!bytes)
        return fail(options.script, "cannot read the file");
    std::string scriptFile = *bytes;
    script::ScriptKey key;
    if (options.plain) {
        const std::vector<uint8_t> encoded = script::encodeScript(*bytes, key);
        scriptFile.assign(encoded.begin(), encoded.end());
    } else if (bytes->size() < script::kScriptHeaderSize) {
        return fail(options.script, "shorter than the 32-byte script header: not an installation "
                                    "script (use --plain for a plain text script)");
    } else {
        key = *script::parseScriptHeader(
            {reinterpret_cast<const uint8_t*>(bytes->data()), script::kScriptKeyEnd});
    }

    const MachineDescription& description = machine->description();
    script::PluginGlobals globals;
    globals.macros.setWindowsDir(description.windowsDir);
    globals.macros.setSystemDir(description.systemDir);
    globals.macros.setSourceDir(description.sourceDir);
    globals.baseUrl = description.sourceDir;

    // With --json the JSON alone goes to standard output.
    PrintingPrompts prompts(options.script, options.json ? std::cerr : std::cout);
    AverageWidthMeasure measure;
    files::PackedFileLayer layer(*machine);
    const bool driveAFixed = machine->driveType('A') == os::DriveType::Fixed;
    script::InstallScript installScript(globals, description.systemVersion(), driveAFixed);
    script::InterpreterServices services{
        .prompts = prompts,
        .measure = measure,
        .scriptFiles = layer,
        .system = *machine,
        .drives = *machine,
        .directories = *machine,
        .registry = *machine,
        .versions = *machine,
        .files = *machine,
        .announceDriveSearch = {},
        .workingDirectory = description.workingDirectory,
    };
    script::Interpreter interpreter(installScript, globals, services);
    interpreter.reader().setKey(key);
    const script::RunReport report = interpreter.runScript(
        std::make_unique<os::MemoryInputFile>(std::move(scriptFile)), options.script);
    const auto print = [&options](const script::ScriptDiagnostic& diagnostic, const char* kind) {
        std::cerr << options.script << ':' << diagnostic.lineNumber << ": " << kind << ": "
                  << diagnostic.message << ": " << diagnostic.line << '\n';
    };
    for (const script::ScriptDiagnostic& warning : report.warnings)
        print(warning, "warning");
    if (report.error) {
        print(*report.error, "error");
        return 1;
    }
    if (options.json) {
        JsonWriter json(std::cout);
        writeScriptJson(json, installScript, globals, interpreter.state().reader.deferredBlocks());
    }
    std::cout.flush();
    if (!std::cout)
        return fail("", "cannot write to standard output");
    return 0;
}

} // namespace

void addCheckCommand(CLI::App& app, Session& session) {
    auto options = std::make_shared<CheckOptions>();
    auto* command = app.add_subcommand(
        "check", "Run a script's main pass on a described machine: print each message the "
                 "installer would show, or FILE:LINE: error: ... for a script error (exit 1)");
    command->add_option("script", options->script, "The .kst file (or plain text with --plain)")
        ->required();
    command->add_flag("--plain", options->plain, "The script is plain text, not a .kst file");
    command->add_flag("--json", options->json,
                      "Print the settings record and every item list as JSON");
    command->add_option("--winver", options->windowsVersion, "Windows version (default 4.0)");
    command->add_option("--dosver", options->dosVersion, "DOS version (default 7.10)");
    command->add_option("--drive", options->drives,
                        "A drive, LETTER:TYPE with TYPE fixed, removable, network, cdrom or "
                        "ramdisk (repeatable; C:fixed is always there unless changed)");
    command->add_option("--file", options->files,
                        "A file that exists, PATH or PATH=LOCALFILE for its contents (repeatable)");
    command->add_option("--dir", options->directories, "A directory that exists (repeatable)");
    command->add_option("--memory", options->memoryKb, "Physical memory in KB (default 16384)");
    command->add_option("--bits", options->bitsPerPixel, "Display bits per pixel (default 8)");
    command->add_option("--resolution", options->resolution, "Display size (default 800x600)");
    command->add_option("--windir", options->windowsDir, "Windows directory (default C:\\WINDOWS)");
    command->add_option("--sysdir", options->systemDir,
                        "System directory (default the Windows directory's SYSTEM)");
    command->add_option("--workdir", options->workingDir,
                        "The browser's working directory (default C:\\WINDOWS)");
    command->add_option("--source", options->sourceDir,
                        "Where the script came from: its web directory ($SOURCEDIR$)");
    command->callback([&session, options] { session.exitCode = check(*options); });
}

} // namespace kst
