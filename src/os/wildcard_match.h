// File-name patterns as file searches take them, matched by us so that only long names count
// (the system's own search also matches short 8.3 aliases: "*.TXT" finds "c.txtx").
#pragma once

#include <string_view>

namespace kestrel::os {

// True when pattern contains '*' or '?'.
bool hasWildcard(std::string_view pattern);

// '*' matches any run of characters, '?' any one character; letters compare without regard
// to ASCII case (fold other letters beforehand where the system's rules should apply). As in
// a DOS search, a pattern ending in ".*" also matches a name without a dot ("*.*" matches
// every name) and one ending in "." matches only names without a dot.
bool wildcardMatches(std::string_view pattern, std::string_view name);

} // namespace kestrel::os
