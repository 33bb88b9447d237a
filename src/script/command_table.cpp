#include "script/command_table.h"

#include "lexical/ansi_text.h"

namespace kestrel::script {

namespace {

// Comments, and the keywords of an older screen model: accepted, and the whole line passed over.
constexpr CommandSpec kPassedOver[] = {
    {"REM", nullptr, kMainPassOnly},
    {"SCREENFILLCHAR"},
    {"WINDOWBACKGROUND"},
    {"WINDOWFOREGROUND"},
    {"SCREENBACKGROUND"},
    {"SCREENFOREGROUND"},
    {"TITLEBACKGROUND"},
    {"TITLEFOREGROUND"},
    {"BOTTOMBACKGROUND"},
    {"BOTTOMFOREGROUND"},
    {"PROMPTBACKGROUND"},
    {"PROMPTFOREGROUND"},
    {"EnterKeyPrompt"},
    {"EscPrompt"},
    {"F2KeyPrompt"},
    {"PressKeyPrompt"},
    {"PressKeyQuitPrompt"},
    {"ReadmePrompt"},
    {"YesNoPrompt"},
    {"YesNoKey"},
};

using Family = std::span<const CommandSpec> (*)();

constexpr Family kFamilies[] = {
    [] { return std::span<const CommandSpec>(kPassedOver); },
    settingsCommands,
    destinationCommands,
    listCommands,
    blockCommands,
    promptTextCommands,
};

} // namespace

const CommandSpec* findCommand(std::string_view keyword) {
    for (Family family : kFamilies) {
        for (const CommandSpec& command : family()) {
            if (lexical::equalsIgnoringAsciiCase(keyword, command.keyword))
                return &command;
        }
    }
    return nullptr;
}

bool isMainPassOnlyCommand(std::string_view word) {
    const CommandSpec* command = findCommand(word);
    return command && (command->flags & kMainPassOnly) != 0;
}

} // namespace kestrel::script
