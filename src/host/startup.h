// The pure parts of starting and ending an installation: addresses made from the script's URL,
// and the command that shows the read-me file.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::host {

// The script's web directory: its URL up to the last '/' or '\' (whichever comes later), the
// separator dropped; a URL with neither stays whole.
std::string baseUrlOf(std::string_view scriptUrl);

// The scheme and server part of a base URL ("http://host:8080/a/b" -> "http://host:8080"):
// the text up to the first '/' that follows the run of '/' after the first one; the whole text
// when there is none.
std::string serverRootOf(std::string_view baseUrl);

// What the browser is asked for: a source location with its backslashes turned to '/'.
std::string browserAddress(std::string_view location);

// A file beside the script: the base URL, '/', the relative path (backslashes turned to '/').
std::string relativeAddress(std::string_view baseUrl, std::string_view relativePath);

// "notepad " and the read-me file, taken in the destination unless it is absolute (a leading
// backslash, a drive, or either of those inside a leading double quote).
std::string readmeCommand(std::string_view readmeFile, std::string_view destination);

} // namespace kestrel::host
