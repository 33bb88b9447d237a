// Programs the installation starts: its start and exit programs, the read-me viewer and the
// external unpackers. Command lines are given whole, program and arguments, as a user would
// type them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrel::os {

class Processes {
  public:
    virtual ~Processes() = default;
    // Runs commandLine and waits for its end. While waiting, only messages that other threads
    // or programs send to this thread are handled, so a program that talks to us (by DDE or a
    // broadcast) cannot hang us; posted messages stay queued for later. The program's exit
    // code, or nothing when it could not be started.
    virtual std::optional<uint32_t> runAndWait(const std::string& commandLine) = 0;
    // Starts commandLine with its window shown normally and returns at once. False when it
    // could not be started.
    virtual bool start(const std::string& commandLine) = 0;
    // Runs commandLine through the command interpreter (%COMSPEC% /C) and waits as runAndWait
    // does. The interpreter's exit code: a program it cannot find makes that non-zero. Nothing
    // when the interpreter itself could not be started.
    virtual std::optional<uint32_t> runInShellAndWait(const std::string& commandLine) = 0;
};

} // namespace kestrel::os
