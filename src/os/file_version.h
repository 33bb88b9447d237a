// The version string a program file carries in its version information.
#pragma once

#include <optional>
#include <string>

namespace kestrel::os {

class FileVersionReader {
  public:
    virtual ~FileVersionReader() = default;
    // The FileVersion text of the file's version information (US English with the Windows
    // code page, or else with Unicode, or else a language the file lists), whole at any
    // length. Nothing when the file has no version information, no such value, or an empty
    // one.
    virtual std::optional<std::string> versionString(const std::string& path) = 0;
};

} // namespace kestrel::os
