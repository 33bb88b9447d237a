// "Create the directories": makes every missing level of a directory path, one level at a
// time, so that it knows which levels it made; they go into install.log as one piece of
// DIRECTORY lines once the whole path exists. A level that cannot be made ends it with the
// bad-directory message, and nothing is logged.
#pragma once

#include "files/install_log.h"
#include "os/file_system.h"
#include "os/prompts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::files {

// The levels made, in order (empty when the path existed); nothing when a level could not be
// made. existingLength: how much of path is known to exist already (0: look from the root).
std::optional<std::vector<std::string>>
createMissingDirectories(os::FileSystem& files, const std::string& path, size_t existingLength = 0);

class DirectoryMaker {
  public:
    // badDirectoryText is read at each failure: a script may change it.
    DirectoryMaker(os::FileSystem& files, os::Prompts& prompts, InstallLog& log,
                   const std::string& badDirectoryText)
        : files_(files), prompts_(prompts), log_(log), badDirectoryText_(badDirectoryText) {}

    // False after a failure, which it has shown.
    bool make(const std::string& path, size_t existingLength = 0);

  private:
    os::FileSystem& files_;
    os::Prompts& prompts_;
    InstallLog& log_;
    const std::string& badDirectoryText_;
};

// The caption the system gives a message box that names none.
inline constexpr std::string_view kSystemErrorCaption = "Error";

} // namespace kestrel::files
