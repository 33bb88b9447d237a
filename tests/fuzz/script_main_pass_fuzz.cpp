// Runs arbitrary scripts through the interpreter's main pass and, when it succeeds, the
// deferred pass: no input may crash or hang it, a failure must report one error that names a line
// of the script, every warning a line too, and what it builds must stay within the script's
// bounds.
//
// The first byte picks the options the user "selected" before the deferred pass and whether the
// script's bytes are scrambled with a key; the rest is the script.
#include "fakes/fake_interpreter_machine.h"
#include "script/install_script.h"
#include "script/interpreter.h"
#include "script/script_codec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kestrel;

namespace {

constexpr const char* kScriptName = "SETUP.KST";

// Most lines the reader can deliver from text: every line feed ends one, and a line longer
// than 998 characters comes back in pieces.
int32_t mostLines(std::string_view text) {
    return static_cast<int32_t>(std::count(text.begin(), text.end(), '\n') + 1 + text.size() / 998);
}

void checkLine(const script::ScriptDiagnostic& diagnostic, int32_t lines) {
    if (diagnostic.lineNumber < 1 || diagnostic.lineNumber > lines || diagnostic.line.size() > 998)
        std::abort();
}

void checkReport(const script::RunReport& report, int32_t lines, bool failed) {
    if (report.error.has_value() != failed)
        std::abort();
    if (report.error)
        checkLine(*report.error, lines);
    for (const script::ScriptDiagnostic& warning : report.warnings)
        checkLine(warning, lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 64 * 1024)
        return 0;
    const uint8_t selection = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    script::ScriptKey key;
    if (selection & 0x80) {
        key.count = selection;
        for (size_t i = 0; i < key.bytes.size(); ++i)
            key.bytes[i] = static_cast<uint8_t>(selection * (i + 3));
    }
    const std::vector<uint8_t> file = script::encodeScript(text, key);

    script::PluginGlobals globals;
    // The script file is the only file there is: the tests that read files find none.
    test::FakeInterpreterMachine machine(7);
    machine.files.add(kScriptName, std::string(file.begin(), file.end()));
    machine.drives.types['C'] = os::DriveType::Fixed;
    machine.directories.addFile("C:\\WINDOWS\\WIN.INI");
    script::InterpreterServices services = machine.interpreterServices("C:\\WORK");
    test::RecordingPrompts& prompts = machine.prompts;
    script::InstallScript installScript(globals, 0x070A0004, false);
    script::Interpreter interpreter(installScript, globals, services);
    interpreter.reader().setKey(key);

    const int32_t lines = mostLines(text);
    const script::RunReport report = interpreter.runScript(kScriptName);
    const bool exitMessage = !prompts.screens.empty();
    checkReport(report, lines, report.result == script::kRunStopped && !exitMessage);
    if (installScript.groups.size() > 16 || installScript.popMessages.size() > 16 ||
        installScript.optionCount > 100 || (exitMessage && report.result != script::kRunStopped))
        std::abort();
    if (!report.succeeded())
        return 0;

    for (int option = 0; option < 8; ++option)
        globals.options.setSelected(option, (selection >> option) & 1);
    prompts.messages.clear();
    prompts.screens.clear();
    const script::RunReport deferred = interpreter.runDeferredPass();
    // A deferred block may end in an exit message; a failure otherwise reports one error.
    if (prompts.screens.empty())
        checkReport(deferred, lines, !deferred.succeeded());
    return 0;
}
