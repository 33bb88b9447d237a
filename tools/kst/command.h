// The pieces every kst subcommand shares: how it is added to the command line and how it
// reports. kst speaks with one voice on stderr:
//   kst: FILE[:LINE]: message      a failure, exit 1 (kst: message when no file is concerned)
//   kst: --option: "value" is ...  a usage error, exit 2, like every other usage error
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace kst {

inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;

struct Session {
    int exitCode = 0;
    bool verbose = false;
};

// Prints "kst: <file>: <message>" to stderr and returns kFailed.
int fail(const std::string& file, const std::string& message);
// As fail(), after removing the half-written `output`, so that a failed command leaves none.
int failAndRemove(const std::string& output, const std::string& file, const std::string& message);

// The whole of a file; nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Option values are checked while the command line is read, so that a bad one is a usage error
// in one form: `"VALUE" is not EXPECTED`. The value passes when `reads` takes it.
CLI::Validator valueIs(const std::string& expected, std::function<bool(const std::string&)> reads);
// Decimal digits only, from low to high.
CLI::Validator numberFrom(uint64_t low, uint64_t high);

// The members of a packed archive, or a failure reported; shared by list and archive.
int listArchive(const std::string& firstVolume, bool verbose);

void addContainerCommands(CLI::App& app, Session& session); // pack
void addListCommand(CLI::App& app, Session& session);       // list
void addArchiveCommands(CLI::App& app, Session& session);   // archive, extract
void addScriptCommands(CLI::App& app, Session& session);    // encode, decode
void addCheckCommand(CLI::App& app, Session& session);      // check
void addCodecCommands(CLI::App& app, Session& session);     // implode, explode

} // namespace kst
