#include "os/wildcard_match.h"

namespace kestrel::os {
namespace {

char foldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Greedy with one backtrack point: the last '*' seen absorbs one more character whenever the
// rest fails, so the cost is at most pattern length times name length.
bool plainMatch(std::string_view pattern, std::string_view name) {
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || foldAscii(pattern[p]) == foldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool hasWildcard(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

bool wildcardMatches(std::string_view pattern, std::string_view name) {
    if (plainMatch(pattern, name))
        return true;
    const bool nameHasDot = name.find('.') != std::string_view::npos;
    if (pattern.ends_with(".*") && !nameHasDot)
        return plainMatch(pattern.substr(0, pattern.size() - 2), name);
    if (pattern.ends_with('.') && !nameHasDot)
        return plainMatch(pattern.substr(0, pattern.size() - 1), name);
    return false;
}

} // namespace kestrel::os
