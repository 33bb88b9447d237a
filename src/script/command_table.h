// The interpreter's commands: one row per keyword, in family tables (settings, destinations,
// lists, blocks, prompt texts), each in the file of its handlers. Adding a command means adding
// its handler and its row there.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kestrel::script {

struct CommandContext;

enum class CommandResult {
    Done,  // go on with the next line
    Error, // the line is a script error
    Stop,  // EXITMESSAGE was shown: the installation ends without an error message
};

using CommandHandler = CommandResult (*)(CommandContext&);

enum CommandFlags : uint32_t {
    kAnyPass = 0,
    // Dropped from deferred blocks: the main pass alone carries it out.
    kMainPassOnly = 1,
};

struct CommandSpec {
    std::string_view keyword; // compared under the ASCII case rule
    // Null for a keyword that is accepted and passed over with the rest of its line.
    CommandHandler handler = nullptr;
    uint32_t flags = kAnyPass;
    // A block of screen text: the word that ends it. In a switched-off branch its lines are
    // passed over unread, so that screen text beginning with "If" or "Else" steers nothing.
    std::string_view screenTextEnd = {};
};

// The families of the command table. IF, ELSE and ENDIF steer the reading itself and are no
// rows of it.
std::span<const CommandSpec> settingsCommands();
std::span<const CommandSpec> destinationCommands();
std::span<const CommandSpec> listCommands();
std::span<const CommandSpec> blockCommands();
std::span<const CommandSpec> promptTextCommands();

// The row of a keyword, or null for a keyword no command has.
const CommandSpec* findCommand(std::string_view keyword);
// Whether a word names a command that only the main pass carries out.
bool isMainPassOnlyCommand(std::string_view word);

} // namespace kestrel::script
