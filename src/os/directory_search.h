// Looking for files and directories by name. Paths are Windows paths; a relative one is taken
// from the process's current directory, which none of these calls changes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrel::os {

class DirectorySearch {
  public:
    virtual ~DirectorySearch() = default;
    // True when path names an existing directory; a trailing backslash is allowed.
    virtual bool directoryExists(const std::string& path) = 0;
    // True when at least one file or directory matches pattern; the last component may hold
    // the wildcards * and ?.
    virtual bool anyEntryMatches(const std::string& pattern) = 0;
    // Names of the subdirectories of directory, in the order the file system lists them,
    // without "." and "..". Directories reached through a link (junction, symbolic link) are
    // left out so that a walk down the tree ends. Nothing when the directory cannot be read.
    virtual std::optional<std::vector<std::string>>
    subdirectories(const std::string& directory) = 0;
};

} // namespace kestrel::os
