// DEFAULTDIR, DIR2 and DIR3 (where the files go and how the user is asked), and ASK1..ASK5
// (free-text questions whose answers become $ASK1$..$ASK5$).
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/quoted_field.h"
#include "script/command_support.h"

namespace kestrel::script {

namespace {

enum class Destination { Default, Second, Third };

// A path with a drive: a bare drive gets its backslash, a path without one is put on C:. DIR2 and
// DIR3 may start with a macro, expanded when the destination is settled.
std::string normalisedDestination(std::string_view path, Destination which) {
    if (path.size() >= 2 && path[1] == ':')
        return path.size() == 2 ? std::string(path) + "\\" : std::string(path);
    if (which != Destination::Default && path.front() == '$')
        return std::string(path);
    return std::string(path.front() == '\\' ? "C:" : "C:\\") + std::string(path);
}

void setDestinationMacro(lexical::MacroVariables& macros, Destination which,
                         std::string_view path) {
    switch (which) {
    case Destination::Default:
        macros.setDefaultDir(path);
        break;
    case Destination::Second:
        macros.setDir2(path);
        break;
    case Destination::Third:
        macros.setDir3(path);
        break;
    }
}

CommandResult destination(CommandContext& c, Destination which) {
    lexical::FieldCursor& cursor = c.cursor();
    const std::string written = lexical::readTextOrWord(cursor);
    if (written.empty())
        return CommandResult::Error;

    std::optional<DirectoryPrompt>& record = which == Destination::Default  ? c.script.defaultDir
                                             : which == Destination::Second ? c.script.dir2
                                                                            : c.script.dir3;
    // Given again, the command empties its prompt text but keeps the prompt-given mark: without a
    // prompt option of its own the line then asks with an empty prompt.
    const bool givenAgain = record.has_value();
    if (!record)
        record.emplace();
    const bool promptGivenBefore = record->promptGiven;
    record->promptText.clear();

    std::string path = normalisedDestination(written, which);
    if (path.size() > kPathCapacity)
        return CommandResult::Error;
    record->path = path;
    setDestinationMacro(c.globals.macros, which, path);

    bool noAskDrive = false;
    bool noAskDir = false;
    bool promptOption = false;
    lexical::ParseStatus status;
    while (!cursor.atEnd()) {
        const std::string option = cursor.readWord();
        if (lexical::equalsIgnoringAsciiCase(option, "prompt")) {
            if (!cursor.takeEquals())
                return CommandResult::Error;
            record->promptText = lexical::readExpectedQuoted(cursor, status, "prompt");
            record->promptGiven = true;
            promptOption = true;
        } else if (lexical::equalsIgnoringAsciiCase(option, "NOASKDRIVE")) {
            noAskDrive = true;
        } else if (lexical::equalsIgnoringAsciiCase(option, "NOASKDIR")) {
            noAskDir = true;
        } else {
            return CommandResult::Error;
        }
    }
    c.take(status);
    if (givenAgain && promptGivenBefore && !promptOption)
        c.warn("given again without a prompt: the earlier prompt option makes this one ask with "
               "an empty prompt");
    record->askMode = noAskDrive && noAskDir ? AskMode::Nothing
                      : noAskDrive           ? AskMode::Directory
                      : noAskDir             ? AskMode::Drive
                                             : AskMode::DriveAndDirectory;
    setDestinationMacro(c.globals.macros, which, path);
    return CommandResult::Done;
}

CommandResult ask(CommandContext& c, int number) {
    if (c.deferredPass)
        return CommandResult::Error;
    lexical::FieldCursor& cursor = c.cursor();
    if (!lexical::quotedFieldFollows(cursor))
        return CommandResult::Error;
    AskPrompt record;
    record.answer = cursor.readQuoted();
    if (record.answer.size() > kAskAnswerCapacity)
        return CommandResult::Error;
    if (!lexical::equalsIgnoringAsciiCase(cursor.readWord(), "prompt") || !cursor.takeEquals())
        return CommandResult::Error;
    lexical::ParseStatus status;
    record.promptText = lexical::readExpectedQuoted(cursor, status, "prompt");
    if (record.promptText.size() > kAskPromptCapacity)
        return CommandResult::Error;
    c.take(status);
    record.promptGiven = true;
    c.globals.macros.setAsk(number, record.answer);
    c.script.asks[number - 1] = std::move(record);
    return CommandResult::Done;
}

CommandResult commandDefaultDir(CommandContext& c) {
    return destination(c, Destination::Default);
}
CommandResult commandDir2(CommandContext& c) {
    return destination(c, Destination::Second);
}
CommandResult commandDir3(CommandContext& c) {
    return destination(c, Destination::Third);
}
CommandResult commandAsk1(CommandContext& c) {
    return ask(c, 1);
}
CommandResult commandAsk2(CommandContext& c) {
    return ask(c, 2);
}
CommandResult commandAsk3(CommandContext& c) {
    return ask(c, 3);
}
CommandResult commandAsk4(CommandContext& c) {
    return ask(c, 4);
}
CommandResult commandAsk5(CommandContext& c) {
    return ask(c, 5);
}

} // namespace

std::span<const CommandSpec> destinationCommands() {
    static constexpr CommandSpec kCommands[] = {
        {"DEFAULTDIR", commandDefaultDir, kMainPassOnly},
        {"DIR2", commandDir2, kMainPassOnly},
        {"DIR3", commandDir3, kMainPassOnly},
        {"ASK1", commandAsk1},
        {"ASK2", commandAsk2},
        {"ASK3", commandAsk3},
        {"ASK4", commandAsk4},
        {"ASK5", commandAsk5},
    };
    return kCommands;
}

} // namespace kestrel::script
