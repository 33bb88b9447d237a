#include "script/interpreter.h"

#include "files/packed_file.h"
#include "lexical/ansi_text.h"
#include "lexical/line_source.h"
#include "lexical/line_words.h"
#include "lexical/macros.h"
#include "lexical/message_texts.h"
#include "lexical/option_tables.h"
#include "lexical/warning_texts.h"
#include "os/prompts.h"
#include "script/command_support.h"
#include "script/conditions.h"
#include "script/interpreter_lines.h"
#include "ui/screen_block.h"

#include <string>
#include <utility>

namespace kestrel::script {

namespace {

using lexical::equalsIgnoringAsciiCase;

// The state of one interpreter run.
class Run {
  public:
    Run(InstallScript& script, PluginGlobals& globals, InterpreterServices& services,
        ParserState& state, bool deferredPass)
        : script_(script), globals_(globals), services_(services), state_(state), report_{},
          lines_(state, report_.warnings),
          context_{
              script,           globals, services, state, lines_, deferredPass, groupMinDiskSpace_,
              report_.warnings, nullptr, 0,        {},    {}} {
        groupMinDiskSpace_.fill(-1);
    }

    // Interprets lines until the end, an error or an exit message.
    CommandResult interpretLines();
    void settleOptionDiskSpace();
    bool checkBlocksClosed();
    // The report of the run; after a failure, with the error placed on its line.
    RunReport finish(RunResult result, bool failed);

  private:
    CommandResult interpretLine(const std::string& keyword);
    void noteSkippedLine(const std::string& keyword);
    void noteLooseEnds(size_t warningsBefore, std::string_view textIgnored);
    int32_t failedDeferredLineNumber() const;
    CommandResult conditionLine();
    ConditionContext conditionContext();

    InstallScript& script_;
    PluginGlobals& globals_;
    InterpreterServices& services_;
    ParserState& state_;
    RunReport report_;
    InterpreterLines lines_;
    std::array<int32_t, lexical::OptionTables::kSize> groupMinDiskSpace_{};
    CommandContext context_;
    // The IF line that opened the block still open, for a block that never ends.
    ErrorSpot openIf_;
    // In a switched-off branch: the end keyword of the screen block whose text is passing by.
    std::string_view skippedBlockEnd_;
    // Set when the line being read steers the branch from inside such a screen text.
    bool steeredFromScreenText_ = false;
};

// In a switched-off branch every line but an exit message's text is looked at for IF, ELSE and
// ENDIF, the text of a screen block included, so a screen line "Else ..." steers the branch. That
// is how the language reads it; the author hears of it.
void Run::noteSkippedLine(const std::string& keyword) {
    steeredFromScreenText_ = false;
    if (!state_.conditional.skipping()) {
        skippedBlockEnd_ = {};
        return;
    }
    const std::string_view line = state_.cursor.text();
    if (!skippedBlockEnd_.empty()) {
        if (ui::isScreenBlockEnd(line, skippedBlockEnd_))
            skippedBlockEnd_ = {};
        else
            steeredFromScreenText_ = equalsIgnoringAsciiCase(keyword, "ELSE") ||
                                     equalsIgnoringAsciiCase(keyword, "ENDIF");
        return;
    }
    const CommandSpec* command = findCommand(keyword);
    if (command && !equalsIgnoringAsciiCase(keyword, "EXITMESSAGE"))
        skippedBlockEnd_ = command->screenTextEnd;
}

// What a line left unsaid once its command was carried out: a quote never closed, and words no
// field took (when nothing else was said about the line).
void Run::noteLooseEnds(size_t warningsBefore, std::string_view textIgnored) {
    if (state_.cursor.metUnterminatedQuote())
        context_.warn(std::string(lexical::warnings::kUnterminatedQuote));
    else if (report_.warnings.size() == warningsBefore && !state_.cursor.atEnd())
        context_.warn(std::string(textIgnored));
}

// The deferred line the reader refused (a first screen without its end): the first BEGINFIRSTSCREEN
// line of the block after the last line it delivered.
int32_t Run::failedDeferredLineNumber() const {
    const DeferredBlock* block = state_.reader.currentBlock();
    if (!block)
        return state_.lineNumber;
    const int32_t first = block->firstLineNumber();
    for (size_t slot = 0; slot < block->count(); ++slot) {
        const int32_t number = first + static_cast<int32_t>(slot);
        if (number > state_.lineNumber &&
            equalsIgnoringAsciiCase(lexical::leadingBlankDelimitedWord(block->line(slot)),
                                    "BEGINFIRSTSCREEN"))
            return number;
    }
    return state_.lineNumber;
}

CommandResult Run::interpretLines() {
    state_.conditional.beginRun();
    std::string line;
    for (;;) {
        const int read = lines_.readScriptLine(line);
        if (read == lexical::kLineEnd)
            return CommandResult::Done;
        if (read == lexical::kLineIgnore)
            continue;
        if (read == lexical::kLineError) {
            context_.errorSpot = ErrorSpot{failedDeferredLineNumber(), line};
            return CommandResult::Error;
        }
        state_.cursor.setText(line);
        const std::string keyword = state_.cursor.readKeyword();
        noteSkippedLine(keyword);
        if (!state_.conditional.interprets(keyword))
            continue;
        context_.keywordLineNumber = state_.lineNumber;
        context_.keywordLine = line;
        context_.errorSpot.reset();
        if (steeredFromScreenText_)
            context_.warn("screen text in a switched-off branch read as " +
                          lexical::asciiUpper(keyword) +
                          ": only an exit message's text is passed over there");
        const CommandResult result = interpretLine(keyword);
        if (result != CommandResult::Done)
            return result;
    }
}

CommandResult Run::interpretLine(const std::string& keyword) {
    ConditionalState& conditional = state_.conditional;
    if (equalsIgnoringAsciiCase(keyword, "IF"))
        return conditionLine();
    if (equalsIgnoringAsciiCase(keyword, "ELSE"))
        return failedIf(!conditional.elseLine());
    if (equalsIgnoringAsciiCase(keyword, "ENDIF"))
        return failedIf(!conditional.endIfLine());
    if (const CommandSpec* command = findCommand(keyword)) {
        context_.command = command;
        if (!command->handler)
            return CommandResult::Done;
        const size_t warningsBefore = report_.warnings.size();
        const CommandResult result = command->handler(context_);
        if (result == CommandResult::Done)
            noteLooseEnds(warningsBefore, lexical::warnings::kTextIgnored);
        return result;
    }
    // An unknown word alone on its line is passed over; anything more is an error.
    if (!state_.cursor.atEnd())
        return CommandResult::Error;
    if (!keyword.empty())
        report_.warnings.push_back(
            {state_.lineNumber, std::string(kUnknownKeywordPassedOver), state_.cursor.text()});
    return CommandResult::Done;
}

ConditionContext Run::conditionContext() {
    ConditionContext condition{globals_,
                               services_.system,
                               services_.drives,
                               services_.directories,
                               services_.registry,
                               services_.versions,
                               services_.files,
                               state_.foundPosition,
                               state_.located,
                               state_.error,
                               services_.announceDriveSearch,
                               {},
                               {}};
    condition.bufferDeferredBlock = [this]() -> int32_t {
        return state_.reader.bufferDeferredBlock(context_.keywordLine, state_.lineNumber);
    };
    return condition;
}

CommandResult Run::conditionLine() {
    ConditionalState& conditional = state_.conditional;
    state_.error = false;
    if (!conditional.beginIf(!state_.cursor.atEnd()))
        return CommandResult::Error;
    openIf_ = ErrorSpot{state_.lineNumber, context_.keywordLine};
    ConditionContext condition = conditionContext();
    const size_t warningsBefore = report_.warnings.size();
    const ConditionResult result = context_.deferredPass
                                       ? evaluateDeferredCondition(state_.cursor, condition)
                                       : evaluateCondition(state_.cursor, condition);
    for (std::string& warning : condition.warnings)
        context_.warn(std::move(warning));
    if (result == ConditionResult::Deferred) {
        // The block was taken in up to its ENDIF, or up to the script's end, where it runs on to
        // the end of its lines in the deferred pass.
        const DeferredBlock& block = state_.reader.deferredBlocks().back();
        if (block.count() < 2 ||
            !equalsIgnoringAsciiCase(
                lexical::leadingAlphanumericWord(block.line(block.count() - 1)), "ENDIF"))
            context_.warn("no ENDIF: the block runs to the end of the script");
    } else if (result != ConditionResult::Error) {
        noteLooseEnds(warningsBefore, lexical::warnings::kConditionTextIgnored);
    }
    return failedIf(!conditional.applyCondition(static_cast<int32_t>(result)));
}

bool Run::checkBlocksClosed() {
    // A branch still switched off at the end of the lines is an error; a taken one simply ends.
    if (!state_.conditional.runEndsCleanly()) {
        context_.errorSpot = openIf_;
        return false;
    }
    if (state_.conditional.insideIf())
        report_.warnings.push_back({openIf_.lineNumber,
                                    "no ENDIF: the branch runs to the end of the script",
                                    openIf_.text});
    return true;
}

void Run::settleOptionDiskSpace() {
    const int32_t options = script_.optionCount;
    if (options < 1) {
        script_.optionMinDiskSpace[0] = script_.minDiskSpace;
        return;
    }
    for (int32_t option = 0; option < options && option < lexical::OptionTables::kSize; ++option) {
        for (int32_t group = 0; group < lexical::OptionTables::kSize; ++group) {
            if (globals_.options.optionOfGroup(group) != option)
                continue;
            const int32_t space = groupMinDiskSpace_[group];
            script_.optionMinDiskSpace[option] = space < 0 ? 1 : space;
            break;
        }
    }
}

RunReport Run::finish(RunResult result, bool failed) {
    report_.result = result;
    if (failed) {
        if (context_.errorSpot) {
            state_.lineNumber = context_.errorSpot->lineNumber;
            state_.cursor.setText(context_.errorSpot->text);
        }
        report_.error = ScriptDiagnostic{state_.lineNumber, std::string(kUnrecognizedCommand),
                                         state_.cursor.text()};
    }
    return std::move(report_);
}

} // namespace

CommandResult CommandContext::take(const lexical::ParseStatus& status) {
    for (const lexical::ParseWarning& warning : status.warnings) {
        warnings.push_back({keywordLineNumber + warning.lineOffset, warning.message,
                            warning.lineOffset == 0 ? keywordLine : warning.line});
    }
    return failedIf(status.error);
}

void CommandContext::warn(std::string message) {
    warnings.push_back({keywordLineNumber, std::move(message), keywordLine});
}

void showScriptError(os::Prompts& prompts, const ScriptDiagnostic& error) {
    const std::string caption =
        std::string(lexical::texts::kScriptErrorCaption) + std::to_string(error.lineNumber);
    prompts.messageBox(error.line, caption, os::kMbIconExclamation);
}

Interpreter::Interpreter(InstallScript& script, PluginGlobals& globals,
                         InterpreterServices& services)
    : script_(script), globals_(globals), services_(services),
      state_(globals.macros, [&prompts = services.prompts](std::string_view text) {
          prompts.messageBox(text, os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
      }) {}

RunReport Interpreter::runScript(const std::string& scriptPath) {
    return mainPass(state_.reader.beginMainPass(services_.scriptFiles, scriptPath), scriptPath);
}

RunReport Interpreter::runScript(std::unique_ptr<os::InputFile> file, const std::string& name) {
    return mainPass(state_.reader.beginMainPass(std::move(file)), name);
}

RunReport Interpreter::mainPass(MainPassStart start, const std::string& name) {
    // A file shorter than its header has no lines: an empty script.
    if (start == MainPassStart::NotOpened) {
        const std::string text = globals_.settings.fileNotFoundText + name + ". ";
        services_.prompts.messageBox(text, os::kDefaultCaption, os::kMbIconExclamation);
        return RunReport{kRunStopped, {}, {}};
    }
    script_.minDiskSpace = 1;
    return run(false);
}

RunReport Interpreter::runDeferredPass() {
    RunReport report;
    const DeferredPassResult result = state_.reader.runDeferredPass([this, &report] {
        RunReport block = run(true);
        for (ScriptDiagnostic& warning : block.warnings)
            report.warnings.push_back(std::move(warning));
        report.error = std::move(block.error);
        return static_cast<int>(block.result);
    });
    report.result = result == DeferredPassResult::Done ? kRunSucceeded : kRunStopped;
    return report;
}

RunReport Interpreter::run(bool deferredPass) {
    Run run(script_, globals_, services_, state_, deferredPass);
    const CommandResult result = run.interpretLines();
    if (!deferredPass) {
        state_.reader.endMainPass();
        run.settleOptionDiskSpace();
    }
    if (result == CommandResult::Stop)
        return run.finish(kRunStopped, false); // the exit message was the installation's last word
    if (result == CommandResult::Error || !run.checkBlocksClosed())
        state_.error = true;
    if (state_.error)
        return run.finish(kRunStopped, true);
    if (globals_.macros.defaultDir().empty())
        lexical::applyFallbackDestination(globals_.macros, services_.workingDirectory,
                                          globals_.defaultDriveLetter);
    if (!deferredPass)
        script_.runAtStart.expandAllMacros(globals_.macros);
    return run.finish(kRunSucceeded, false);
}

} // namespace kestrel::script
