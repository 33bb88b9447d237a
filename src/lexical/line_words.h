// The first word of a raw script line, as the parts that look at a line before any field is
// read see it: the block buffering, the deferred keyword filter and the end of a screen block
// each take a different word, so each has its own rule here.
#pragma once

#include <string_view>

namespace kestrel::lexical {

// Blanks and tabs skipped, then letters and digits.
std::string_view leadingAlphanumericWord(std::string_view line);
// Blanks and tabs skipped, then everything up to the next blank or tab.
std::string_view leadingBlankDelimitedWord(std::string_view line);
// Blanks and tabs skipped, then letters only (so "Exit now" and "EXIT2" both give EXIT).
std::string_view leadingLetterWord(std::string_view line);

// The text without the blanks and tabs at either end.
std::string_view trimBlanks(std::string_view text);

} // namespace kestrel::lexical
