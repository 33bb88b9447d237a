// Tables of the words a command takes and what each stands for, looked up under the ASCII
// case rule like every keyword.
#pragma once

#include "lexical/ansi_text.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace kestrel::lexical {

template <typename T> struct NamedWord {
    std::string_view word;
    T value;
};

// The value of word in table; nothing for a word the table does not hold.
template <typename T, size_t N>
std::optional<T> lookUpWord(const NamedWord<T> (&table)[N], std::string_view word) {
    for (const NamedWord<T>& entry : table) {
        if (equalsIgnoringAsciiCase(word, entry.word))
            return entry.value;
    }
    return std::nullopt;
}

} // namespace kestrel::lexical
