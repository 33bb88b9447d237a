// The names a unique temporary file is tried under: stem, four digits and ".tmp", counting up.
#pragma once

#include <optional>
#include <string>

namespace kestrel::os {

enum class NameAttempt {
    Taken,    // made: the file is ours
    InUse,    // a file of that name is there: the next name may do
    Hopeless, // no such directory, no access: no other name will help
};

// Tries each name in directory (separator: the path separator to put after it, none after a
// bare Windows drive) until tryName takes one; that name, or nothing when every name is in use or
// one was hopeless.
template <typename TryName>
std::optional<std::string> takeUniqueName(const std::string& directory, char separator,
                                          const std::string& stem, TryName&& tryName) {
    std::string prefix = directory;
    if (!prefix.empty() && prefix.back() != separator &&
        !(separator == '\\' && prefix.back() == ':'))
        prefix += separator;
    prefix += stem;
    for (unsigned counter = 0; counter < 10000; ++counter) {
        std::string digits = std::to_string(counter);
        std::string path = prefix + std::string(4 - digits.size(), '0') + digits + ".tmp";
        switch (tryName(path)) {
        case NameAttempt::Taken:
            return path;
        case NameAttempt::InUse:
            continue;
        case NameAttempt::Hopeless:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace kestrel::os
