// ASCII case folding for the host's URLs, tags and MIME types.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace kestrel::host {

inline std::string asciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

inline bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace kestrel::host
