// Finds the installation script a web page embeds: the first <embed> or <object> whose type is
// the plug-in's MIME type or whose src/data names a .kst file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrel::host {

struct EmbeddedScript {
    std::string url; // resolved against the page (and its <base href>)
    // The tag's attributes, names in lower case, values with entities decoded: the browser
    // hands them to NPP_New.
    std::vector<std::pair<std::string, std::string>> attributes;
};

std::optional<EmbeddedScript> findEmbeddedScript(std::string_view html, std::string_view pageUrl,
                                                 std::string_view mimeType);

// True when the bytes look like a web page rather than a script.
bool looksLikeHtml(std::string_view bytes);

} // namespace kestrel::host
