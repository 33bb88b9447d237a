// Windows paths as text: a backslash (or a slash) separates directories, "C:" names a drive.
// Nothing here touches a file system.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::lexical {

// The text up to and including the last '\' or '/'; empty when there is none.
std::string_view directoryPart(std::string_view path);
// What follows the last '\', '/' or ':'.
std::string_view fileNamePart(std::string_view path);
// The directory that holds path (cut at its last '\'), without a trailing backslash except on
// a drive root ("C:\"); empty when path holds no backslash.
std::string parentDirectory(std::string_view path);
// directory and name with one backslash between them.
std::string joinPath(std::string_view directory, std::string_view name);
// path itself when it begins with a backslash or a drive ("C:"), else path in directory.
std::string pathInDirectory(std::string_view path, std::string_view directory);

} // namespace kestrel::lexical
