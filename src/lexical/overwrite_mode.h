// What happens when an installed file exists already, and the words that say so: OVERWRITEFILE,
// a FILE line's OVERWRITE= and kst's --overwrite all read the same four words.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::lexical {

enum class OverwriteMode : uint32_t { No = 0, Yes = 1, Ask = 2, New = 3 };

// YES, NO, NEW and ASK in any case (ASCII rule); nothing for another word.
std::optional<OverwriteMode> overwriteModeFromWord(std::string_view word);

} // namespace kestrel::lexical
