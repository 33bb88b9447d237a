// Looks a warning up by a fragment of its text, for tests of what is read leniently.
#pragma once

#include "lexical/parse_result.h"

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

// Every warning's text, for a failure message.
template <typename Warning> std::string warningTexts(const std::vector<Warning>& warnings) {
    std::string texts;
    for (const Warning& warning : warnings)
        texts += "[" + std::string(messageOf(warning)) + "] ";
    return texts;
}

// Whether a warning holds fragment; an empty fragment asks for no warning at all.
template <typename Warning>
bool warned(const std::vector<Warning>& warnings, std::string_view fragment) {
    if (fragment.empty())
        return warnings.empty();
    return std::any_of(warnings.begin(), warnings.end(), [fragment](const Warning& warning) {
        return messageOf(warning).find(fragment) != std::string_view::npos;
    });
}

} // namespace kestrel::test
