// The pieces every kst subcommand shares: how it is added to the command line and how it
// reports failure ("kst: FILE: message", non-zero exit).
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace kst {

struct Session {
    int exitCode = 0;
    bool verbose = false;
};

// Prints "kst: <file>: <message>" to stderr and returns the failing exit code.
int fail(const std::string& file, const std::string& message);
// As fail(), after removing the half-written `output`, so that a failed command leaves none.
int failAndRemove(const std::string& output, const std::string& file, const std::string& message);

// The whole of a file; nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

void addContainerCommands(CLI::App& app, Session& session); // pack, ls
void addArchiveCommands(CLI::App& app, Session& session);   // archive, list, extract
void addScriptCommands(CLI::App& app, Session& session);    // encode, decode
void addCheckCommand(CLI::App& app, Session& session);      // check
void addCodecCommands(CLI::App& app, Session& session);     // implode, explode

} // namespace kst
