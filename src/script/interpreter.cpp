#include "script/interpreter.h"

#include "files/packed_file.h"
#include "lexical/ansi_text.h"
#include "lexical/line_source.h"
#include "lexical/line_words.h"
#include "lexical/macros.h"
#include "lexical/message_texts.h"
#include "lexical/option_tables.h"
#include "os/prompts.h"
#include "script/command_support.h"
#include "script/conditions.h"
#include "script/interpreter_lines.h"
#include "ui/screen_block.h"

#include <string>
#include <utility>

namespace kestrel::script {

namespace {

struct Command {
    std::string_view keyword;
    CommandHandler handler;
};

// Every command but IF, ELSE, ENDIF and REM, which steer the reading itself.
constexpr Command kCommands[] = {
    {"EXITMESSAGE", commandExitMessage},
    {"TITLE", commandTitle},
    {"TITLECOLOR", commandTitleColour},
    {"SCREENCOLOR", commandScreenColour},
    {"FONTNAME", commandFontName},
    {"SHOWREADME", commandShowReadme},
    {"MINCPUTYPE", commandMinCpuType},
    {"MINDISKSPACE", commandMinDiskSpace},
    {"PROGRESSBAR", commandProgressBar},
    {"OVERWRITEFILE", commandOverwriteFile},
    {"COMPRESSION", commandCompression},
    {"UNINSTALL", commandUninstall},
    {"REBOOTWINDOWS", commandRebootWindows},
    {"REBOOTSYSTEM", commandRebootSystem},
    {"REBOOT", commandReboot},
    {"RUNATSTART", commandRunAtStart},
    {"RUNATEXIT", commandRunAtExit},
    {"REGSERVER", commandRegServer},
    {"SCREENGRAPHIC", commandScreenGraphic},
    {"INTROSCREEN", commandIntroScreen},
    {"DEFAULTDIR", commandDefaultDir},
    {"DIR2", commandDir2},
    {"DIR3", commandDir3},
    {"ASK1", commandAsk1},
    {"ASK2", commandAsk2},
    {"ASK3", commandAsk3},
    {"ASK4", commandAsk4},
    {"ASK5", commandAsk5},
    {"FILE", commandFile},
    {"INSERTDISK", commandInsertDisk},
    {"BEGINREGISTRY", commandBeginRegistry},
    {"BEGINFIRSTSCREEN", commandBeginFirstScreen},
    {"BEGINLASTSCREEN", commandBeginLastScreen},
    {"POPMESSAGE", commandPopMessage},
    {"BEGINGROUP", commandBeginGroup},
    {"AUTOEXEC", commandAutoexec},
    {"CONFIG", commandConfig},
    {"WINITEM", commandWinItem},
    {"INIFILE", commandIniFile},
    {"ADDTEXT", commandAddText},
    {"DELETE", commandDelete},
    {"RENAME", commandRename},
};

// Keywords of an older screen model: accepted, and the whole line passed over.
constexpr std::string_view kIgnoredKeywords[] = {
    "SCREENFILLCHAR",   "WINDOWBACKGROUND", "WINDOWFOREGROUND", "SCREENBACKGROUND",
    "SCREENFOREGROUND", "TITLEBACKGROUND",  "TITLEFOREGROUND",  "BOTTOMBACKGROUND",
    "BOTTOMFOREGROUND", "PROMPTBACKGROUND", "PROMPTFOREGROUND", "EnterKeyPrompt",
    "EscPrompt",        "F2KeyPrompt",      "PressKeyPrompt",   "PressKeyQuitPrompt",
    "ReadmePrompt",     "YesNoPrompt",      "YesNoKey",
};

CommandHandler findHandler(std::string_view keyword) {
    for (const Command& command : kCommands) {
        if (lexical::equalsIgnoringAsciiCase(keyword, command.keyword))
            return command.handler;
    }
    for (const PromptTextCommand& command : kPromptTextCommands) {
        if (lexical::equalsIgnoringAsciiCase(keyword, command.keyword))
            return command.handler;
    }
    return nullptr;
}

// The end keyword of a block whose lines are screen text, for a block keyword.
std::string_view screenBlockEnd(std::string_view keyword) {
    static constexpr std::pair<std::string_view, std::string_view> kBlocks[] = {
        {"BEGINFIRSTSCREEN", ui::kEndFirstScreen},
        {"BEGINLASTSCREEN", ui::kEndLastScreen},
        {"BEGINGROUP", ui::kEndGroup},
        {"POPMESSAGE", ui::kEndPopup},
        {"EXITMESSAGE", ui::kEndExitMessage},
    };
    for (const auto& [begin, end] : kBlocks) {
        if (lexical::equalsIgnoringAsciiCase(keyword, begin))
            return end;
    }
    return {};
}

bool isIgnoredKeyword(std::string_view keyword) {
    for (std::string_view ignored : kIgnoredKeywords) {
        if (lexical::equalsIgnoringAsciiCase(keyword, ignored))
            return true;
    }
    return false;
}

// The state of one interpreter run.
class Run {
  public:
    Run(InstallScript& script, PluginGlobals& globals, InterpreterServices& services,
        bool deferredPass)
        : script_(script), globals_(globals), services_(services),
          lines_(script), context_{script, globals,      services,
                                   lines_, deferredPass, groupMinDiskSpace_,
                                   0,      {},           {}} {
        groupMinDiskSpace_.fill(-1);
    }

    // Interprets lines until the end, an error or an exit message.
    CommandResult interpretLines();
    void settleOptionDiskSpace();
    void reportError();
    bool checkBlocksClosed();

  private:
    CommandResult interpretLine(const std::string& keyword);
    bool passesOverScreenText(const std::string& line, const std::string& keyword);
    int32_t failedDeferredLineNumber() const;
    CommandResult conditionLine();
    ConditionContext conditionContext();

    InstallScript& script_;
    PluginGlobals& globals_;
    InterpreterServices& services_;
    InterpreterLines lines_;
    std::array<int32_t, lexical::OptionTables::kSize> groupMinDiskSpace_{};
    CommandContext context_;
    // The IF line that opened the block still open, for a block that never ends.
    ErrorSpot openIf_;
    // In a switched-off branch: the end keyword of the screen block being passed over.
    std::string_view skippedBlockEnd_;
};

// A screen line in a switched-off branch may begin with "If" or "Else" like any sentence: the lines
// of a screen block there are passed over unread, up to the block's end keyword.
bool Run::passesOverScreenText(const std::string& line, const std::string& keyword) {
    if (!skippedBlockEnd_.empty()) {
        if (ui::isScreenBlockEnd(line, skippedBlockEnd_))
            skippedBlockEnd_ = {};
        return true;
    }
    if (script_.conditional.skipping())
        skippedBlockEnd_ = screenBlockEnd(keyword);
    return !skippedBlockEnd_.empty();
}

// The deferred line the reader refused (a first screen without its end): the first BEGINFIRSTSCREEN
// line of the block after the last line it delivered.
int32_t Run::failedDeferredLineNumber() const {
    const DeferredBlock* block = script_.reader.currentBlock();
    if (!block)
        return script_.lineNumber;
    const int32_t first = block->firstLineNumber();
    for (size_t slot = 0; slot < block->count(); ++slot) {
        const int32_t number = first + static_cast<int32_t>(slot);
        if (number > script_.lineNumber &&
            lexical::equalsIgnoringAsciiCase(lexical::leadingBlankDelimitedWord(block->line(slot)),
                                             "BEGINFIRSTSCREEN"))
            return number;
    }
    return script_.lineNumber;
}

CommandResult Run::interpretLines() {
    script_.conditional.beginRun();
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
        script_.cursor.setText(line);
        const std::string keyword = script_.cursor.readKeyword();
        if (passesOverScreenText(line, keyword) || !script_.conditional.interprets(keyword))
            continue;
        context_.keywordLineNumber = script_.lineNumber;
        context_.keywordLine = line;
        context_.errorSpot.reset();
        const CommandResult result = interpretLine(keyword);
        if (result != CommandResult::Done)
            return result;
    }
}

CommandResult Run::interpretLine(const std::string& keyword) {
    ConditionalState& conditional = script_.conditional;
    if (lexical::equalsIgnoringAsciiCase(keyword, "IF"))
        return conditionLine();
    if (lexical::equalsIgnoringAsciiCase(keyword, "ELSE"))
        return failedIf(!conditional.elseLine());
    if (lexical::equalsIgnoringAsciiCase(keyword, "ENDIF"))
        return failedIf(!conditional.endIfLine());
    if (lexical::equalsIgnoringAsciiCase(keyword, "REM") || isIgnoredKeyword(keyword))
        return CommandResult::Done;
    if (const CommandHandler handler = findHandler(keyword))
        return handler(context_);
    // An unknown word alone on its line is passed over; anything more is an error.
    if (!script_.cursor.atEnd())
        return CommandResult::Error;
    if (!keyword.empty() && services_.ignoredLine)
        services_.ignoredLine(script_.lineNumber, script_.cursor.text());
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
                               script_.foundPosition,
                               script_.located,
                               script_.error,
                               services_.announceDriveSearch,
                               {}};
    condition.bufferDeferredBlock = [this]() -> int32_t {
        return script_.reader.bufferDeferredBlock(context_.keywordLine, script_.lineNumber);
    };
    return condition;
}

CommandResult Run::conditionLine() {
    ConditionalState& conditional = script_.conditional;
    script_.error = false;
    if (!conditional.beginIf(!script_.cursor.atEnd()))
        return CommandResult::Error;
    openIf_ = ErrorSpot{script_.lineNumber, context_.keywordLine};
    ConditionContext condition = conditionContext();
    const ConditionResult result = context_.deferredPass
                                       ? evaluateDeferredCondition(script_.cursor, condition)
                                       : evaluateCondition(script_.cursor, condition);
    if (result == ConditionResult::Deferred) {
        // The block was taken in up to its ENDIF; one that the script's end cut short would run on
        // to the end of its lines in the deferred pass.
        const std::vector<DeferredBlock>& blocks = script_.reader.deferredBlocks();
        if (blocks.empty() ||
            !lexical::equalsIgnoringAsciiCase(
                lexical::leadingAlphanumericWord(blocks.back().line(blocks.back().count() - 1)),
                "ENDIF") ||
            blocks.back().count() < 2) {
            context_.errorSpot = openIf_;
            return CommandResult::Error;
        }
    }
    return failedIf(!conditional.applyCondition(static_cast<int32_t>(result)));
}

bool Run::checkBlocksClosed() {
    // A branch still switched off, or an IF whose ENDIF never came, at the end of the lines.
    if (script_.conditional.runEndsCleanly() && !script_.conditional.insideIf())
        return true;
    context_.errorSpot = openIf_;
    return false;
}

void Run::settleOptionDiskSpace() {
    const int32_t options = script_.optionCount();
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

void Run::reportError() {
    if (context_.errorSpot) {
        script_.lineNumber = context_.errorSpot->lineNumber;
        script_.cursor.setText(context_.errorSpot->text);
    }
    const std::string caption =
        std::string(lexical::texts::kScriptErrorCaption) + std::to_string(script_.lineNumber);
    services_.prompts.messageBox(script_.cursor.text(), caption, os::kMbIconExclamation);
}

} // namespace

RunResult Interpreter::runScript(const std::string& scriptPath) {
    return mainPass(script_.reader.beginMainPass(services_.scriptFiles, scriptPath), scriptPath);
}

RunResult Interpreter::runScript(std::unique_ptr<os::InputFile> file, const std::string& name) {
    return mainPass(script_.reader.beginMainPass(std::move(file)), name);
}

RunResult Interpreter::mainPass(MainPassStart start, const std::string& name) {
    // A file shorter than its header has no lines: an empty script.
    if (start == MainPassStart::NotOpened) {
        const std::string text = globals_.settings.fileNotFoundText + name + ". ";
        services_.prompts.messageBox(text, os::kDefaultCaption, os::kMbIconExclamation);
        return kRunStopped;
    }
    script_.minDiskSpace = 1;
    return run(false);
}

DeferredPassResult Interpreter::runDeferredPass() {
    return script_.reader.runDeferredPass([this] { return static_cast<int>(run(true)); });
}

RunResult Interpreter::run(bool deferredPass) {
    Run run(script_, globals_, services_, deferredPass);
    const CommandResult result = run.interpretLines();
    if (!deferredPass) {
        script_.reader.endMainPass();
        run.settleOptionDiskSpace();
    }
    if (result == CommandResult::Stop)
        return kRunStopped; // the exit message was the installation's last word
    if (result == CommandResult::Error || !run.checkBlocksClosed())
        script_.error = true;
    if (script_.error) {
        run.reportError();
        return kRunStopped;
    }
    if (globals_.macros.defaultDir().empty())
        lexical::applyFallbackDestination(globals_.macros, services_.workingDirectory,
                                          globals_.defaultDriveLetter);
    if (!deferredPass)
        script_.runAtStart.expandAllMacros(globals_.macros);
    return kRunSucceeded;
}

} // namespace kestrel::script
