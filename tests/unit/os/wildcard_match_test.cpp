#include "os/wildcard_match.h"

#include <gtest/gtest.h>

namespace kestrel::os {
namespace {

TEST(WildcardMatch, MatchesLongNamesTheWayFileSearchesDo) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.TXT", "readme.txt", true},
        {"*.TXT", "c.txtx", false}, // the system's search finds it through its 8.3 alias
        {"FILE?.TXT", "file1.txt", true},
        {"FILE?.TXT", "file.txt", false},
        {"*.*", "README", true},
        {"README.*", "README", true},
        {"READ.*", "README", false},
        {"*.", "README", true},
        {"*.", "readme.txt", false},
        {"a*b*c", "aXXbYYbZc", true},
        {"a*b*c", "aXXbYYbZ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
    EXPECT_TRUE(hasWildcard("a?b"));
    EXPECT_FALSE(hasWildcard("plain.txt"));
}

} // namespace
} // namespace kestrel::os
