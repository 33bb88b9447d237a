// kst check: runs a script's main pass on a described machine and says what the installer
// would: each message it would show, each line it read leniently ("FILE:LINE: warning: ..."),
// and a script error with its file, line number and line ("kst: FILE:LINE: Unrecognized
// command: LINE"). With --json it prints what the script means instead: the settings record
// and every item list.
#include "command.h"
#include "described_machine.h"
#include "files/packed_file.h"
#include "os/memory_input_file.h"
#include "os/prompts.h"
#include "script/install_script.h"
#include "script/interpreter.h"
#include "script/plugin_globals.h"
#include "script/script_codec.h"
#include "script_file.h"
#include "script_json.h"
#include "ui/text_measure.h"

#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <tuple>
#include <variant>

namespace kst {
namespace {

using namespace kestrel;

struct CheckOptions {
    std::string script;
    bool plain = false;
    bool force = false;
    bool strict = false;
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

std::optional<std::pair<unsigned, unsigned>> parseResolution(const std::string& text) {
    unsigned width = 0, height = 0;
    char x = 0, extra = 0;
    std::istringstream words(text);
    if (!(words >> width >> x >> height) || (x != 'x' && x != 'X') || words >> extra ||
        width == 0 || height == 0)
        return std::nullopt;
    return std::make_pair(width, height);
}

// "C:cdrom": a drive letter and its type.
std::optional<std::pair<char, os::DriveType>> parseDrive(const std::string& text) {
    const auto type = text.size() > 2 ? parseDriveType(text.substr(2)) : std::nullopt;
    if (!type || text[1] != ':' || !std::isalpha(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    return std::make_pair(static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))),
                          *type);
}

// The machine the options describe (their values were checked as the command line was read);
// nothing when a file it is to hold cannot be read, which is then reported.
std::unique_ptr<DescribedMachine> describe(const CheckOptions& options) {
    MachineDescription description;
    std::tie(description.windowsMajor, description.windowsMinor) =
        *parseVersion(options.windowsVersion);
    std::tie(description.dosMajor, description.dosMinor) = *parseVersion(options.dosVersion);
    description.memoryBytes = options.memoryKb * 1024;
    description.display.bitsPerPixel = options.bitsPerPixel;
    std::tie(description.display.width, description.display.height) =
        *parseResolution(options.resolution);
    for (const std::string& drive : options.drives) {
        const auto [letter, type] = *parseDrive(drive);
        description.drives[letter] = type;
    }
    description.windowsDir = options.windowsDir;
    description.systemDir =
        options.systemDir.empty() ? options.windowsDir + "\\SYSTEM" : options.systemDir;
    description.workingDirectory = options.workingDir;
    description.sourceDir = options.sourceDir;

    auto machine = std::make_unique<DescribedMachine>(description);
    machine->addDirectory(description.windowsDir);
    machine->addDirectory(description.systemDir);
    machine->addDirectory(description.workingDirectory);
    for (const std::string& directory : options.directories)
        machine->addDirectory(directory);
    for (const std::string& file : options.files) {
        const size_t equals = file.find('=');
        std::string contents;
        if (equals != std::string::npos) {
            const std::string local = file.substr(equals + 1);
            const auto read = readWholeFile(local);
            if (!read) {
                fail(local, "cannot read the file (--file " + file + ")");
                return nullptr;
            }
            contents = *read;
        }
        machine->addFile(file.substr(0, equals), std::move(contents));
    }
    return machine;
}

// The script file as the interpreter opens it, and its key; nothing after a reported failure.
std::optional<std::pair<std::string, script::ScriptKey>> scriptFile(const CheckOptions& options) {
    const auto bytes = readWholeFile(options.script);
    if (!bytes) {
        fail(options.script, "cannot read the file");
        return std::nullopt;
    }
    if (options.plain) {
        const script::ScriptKey readable; // ten zero bytes leave the text as it is
        const std::vector<uint8_t> encoded = script::encodeScript(*bytes, readable);
        return std::make_pair(std::string(encoded.begin(), encoded.end()), readable);
    }
    const auto header = readScriptHeader(*bytes, options.force);
    if (const auto* problem = std::get_if<std::string>(&header)) {
        fail(options.script, *problem + "; --plain reads a plain text script");
        return std::nullopt;
    }
    return std::make_pair(*bytes, std::get<script::ScriptKey>(header));
}

int check(const CheckOptions& options) {
    const auto machine = describe(options);
    if (!machine)
        return kFailed;
    auto file = scriptFile(options);
    if (!file)
        return kFailed;

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
    interpreter.reader().setKey(file->second);
    const script::RunReport report = interpreter.runScript(
        std::make_unique<os::MemoryInputFile>(std::move(file->first)), options.script);
    const auto where = [&options](const script::ScriptDiagnostic& diagnostic) {
        return options.script + ':' + std::to_string(diagnostic.lineNumber);
    };
    const auto what = [](const script::ScriptDiagnostic& diagnostic) {
        return diagnostic.line.empty() ? diagnostic.message
                                       : diagnostic.message + ": " + diagnostic.line;
    };
    for (const script::ScriptDiagnostic& warning : report.warnings)
        std::cerr << where(warning) << ": warning: " << what(warning) << '\n';
    if (report.error)
        return fail(where(*report.error), what(*report.error));
    if (options.strict && !report.warnings.empty())
        return fail(options.script, std::to_string(report.warnings.size()) +
                                        (report.warnings.size() == 1 ? " warning" : " warnings") +
                                        " (--strict)");
    if (options.json)
        std::cout << scriptJson(installScript, globals, interpreter.state().reader.deferredBlocks())
                         .dump(2)
                  << '\n';
    std::cout.flush();
    if (!std::cout)
        return fail("", "cannot write to standard output");
    return 0;
}

} // namespace

void addCheckCommand(CLI::App& app, Session& session) {
    auto options = std::make_shared<CheckOptions>();
    auto* command = app.add_subcommand(
        "check", "Run a script's main pass on a described machine: the messages the installer "
                 "would show, warnings (FILE:LINE: warning: ...) and the script error, if any");
    command->add_option("SCRIPT", options->script, "The .kst file (or plain text with --plain)")
        ->required();
    command->add_flag("--plain", options->plain, "The script is plain text, not a .kst file");
    command->add_flag("--force", options->force,
                      "Read the file even when its header is not that of a .kst file");
    command->add_flag("--strict", options->strict, "Fail (exit 1) on warnings too");
    command->add_flag("--json", options->json,
                      "Print the settings record and every item list as JSON");
    const auto version = valueIs("a version such as 4.0 (major.minor, each up to 255)",
                                 [](const std::string& text) { return !!parseVersion(text); });
    command->add_option("--winver", options->windowsVersion, "Windows version (default 4.0)")
        ->type_name("X.Y")
        ->check(version);
    command->add_option("--dosver", options->dosVersion, "DOS version (default 7.10)")
        ->type_name("X.Y")
        ->check(version);
    command
        ->add_option("--drive", options->drives,
                     "A drive, LETTER:TYPE with TYPE fixed, removable, network, cdrom or "
                     "ramdisk (repeatable; C:fixed is always there unless changed)")
        ->type_name("L:TYPE")
        ->check(valueIs("LETTER:TYPE with TYPE fixed, removable, network, cdrom or ramdisk",
                        [](const std::string& text) { return !!parseDrive(text); }));
    command
        ->add_option("--file", options->files,
                     "A file that exists, PATH or PATH=LOCALFILE for its contents (repeatable)")
        ->type_name("PATH");
    command->add_option("--dir", options->directories, "A directory that exists (repeatable)")
        ->type_name("PATH");
    command->add_option("--memory", options->memoryKb, "Physical memory in KB (default 16384)")
        ->type_name("KB")
        ->check(numberFrom(1, UINT32_MAX));
    command->add_option("--bits", options->bitsPerPixel, "Display bits per pixel (default 8)")
        ->type_name("N")
        ->check(numberFrom(1, 32));
    command->add_option("--resolution", options->resolution, "Display size (default 800x600)")
        ->type_name("WxH")
        ->check(valueIs("WIDTHxHEIGHT, such as 800x600",
                        [](const std::string& text) { return !!parseResolution(text); }));
    command->add_option("--windir", options->windowsDir, "Windows directory (default C:\\WINDOWS)")
        ->type_name("PATH");
    command
        ->add_option("--sysdir", options->systemDir,
                     "System directory (default the Windows directory's SYSTEM)")
        ->type_name("PATH");
    command
        ->add_option("--workdir", options->workingDir,
                     "The browser's working directory (default C:\\WINDOWS)")
        ->type_name("PATH");
    command
        ->add_option("--source", options->sourceDir,
                     "Where the script came from: its web directory ($SOURCEDIR$)")
        ->type_name("URL");
    command->callback([&session, options] { session.exitCode = check(*options); });
}

} // namespace kst
