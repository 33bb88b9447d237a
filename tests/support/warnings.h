// Looks a warning up by a fragment of its text, for tests of what is read leniently.
#pragma once

#include "lexical/parse_result.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::test {

inline std::string_view messageOf(const std::string& warning) {
    return warning;
}
template <typename Warning> std::string_view messageOf(const Warning& warning) {
    return warning.message;
}

// Whether a warning holds fragment; an empty fragment asks for no warning at all. A failure
// names every warning there was.
template <typename Warning>
::testing::AssertionResult warned(const std::vector<Warning>& warnings, std::string_view fragment) {
    const bool found = fragment.empty()
                           ? warnings.empty()
                           : std::any_of(warnings.begin(), warnings.end(), [&](const Warning& w) {
                                 return messageOf(w).find(fragment) != std::string_view::npos;
                             });
    if (found)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "no warning \"" << fragment << "\" among:";
    for (const Warning& warning : warnings)
        failure << " [" << messageOf(warning) << "]";
    return failure;
}

} // namespace kestrel::test
