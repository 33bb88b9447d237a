// Runs plain script text through the interpreter on a made-up machine: the text is encoded as
// a script file with an all-zero key and read back through the packed-file layer, as the
// plug-in reads a delivered script.
#pragma once

#include "fakes/fake_interpreter_machine.h"
#include "script/install_script.h"
#include "script/interpreter.h"
#include "script/script_codec.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

class InterpreterTest : public ::testing::Test, protected FakeInterpreterMachine {
  protected:
    static constexpr const char* kScriptName = "SETUP.KST";
    // Windows 4.0, DOS 7.10.
    static constexpr uint32_t kSystemVersion = 0x070A0004;

    // A fresh installation of text; the main pass over it.
    script::RunResult runMain(const std::string& text) {
        files.add(kScriptName, toString(script::encodeScript(text, script::ScriptKey{})));
        prompts.messages.clear();
        script = std::make_unique<script::InstallScript>(globals, kSystemVersion, false);
        interpreter = std::make_unique<script::Interpreter>(*script, globals, services);
        return keep(interpreter->runScript(kScriptName));
    }
    script::RunResult runDeferred() { return keep(interpreter->runDeferredPass()); }
    // Keeps the report and shows its error as the plug-in does.
    script::RunResult keep(script::RunReport latest) {
        report = std::move(latest);
        if (report.error)
            script::showScriptError(prompts, *report.error);
        return report.result;
    }

    // The line number the last error message names, or -1 without one.
    int errorLine() const {
        const std::string prefix = "Unrecognized command: line: ";
        for (auto it = prompts.messages.rbegin(); it != prompts.messages.rend(); ++it) {
            if (it->caption.rfind(prefix, 0) == 0)
                return std::stoi(it->caption.substr(prefix.size()));
        }
        return -1;
    }
    // The text of the last error message.
    std::string errorText() const {
        return prompts.messages.empty() ? std::string() : prompts.messages.back().text;
    }

    script::PluginGlobals globals;
    script::InterpreterServices services = interpreterServices("D:\\WORK");
    script::RunReport report;
    std::unique_ptr<script::InstallScript> script;
    std::unique_ptr<script::Interpreter> interpreter;

  private:
    static std::string toString(const std::vector<uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    }
};

} // namespace kestrel::test
