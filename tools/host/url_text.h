// URLs as the host meets them: web addresses, file: URLs and local paths, and the resolution
// of a reference against the page it appears on.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::host {

// "http", "https", "file", ... in lower case; empty for a local path (a single letter before
// the colon is a drive, not a scheme).
std::string urlScheme(std::string_view url);
bool isWebUrl(std::string_view url);

// A reference resolved against an absolute base URL (http, https or file).
std::string resolveUrl(std::string_view base, std::string_view reference);

// file:///C:/dir/a%20b.kst <-> C:\dir\a b.kst; a UNC host stays as \\host\share.
std::optional<std::string> fileUrlToPath(std::string_view url);
std::string pathToFileUrl(std::string_view absolutePath);

// The last path segment, percent-decoded and made safe as a Windows file name; "download"
// when nothing usable is left.
std::string fileNameFromUrl(std::string_view url);

std::string percentDecode(std::string_view text);

} // namespace kestrel::host
