// Character tests and comparisons for script text. Script text is 8-bit text of the Windows
// ANSI code page (1252); keywords, option words and macro names compare without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::script {

// Letters of code page 1252, accented ones included (ƒ, Š, Œ, Ž, š, œ, ž, Ÿ, ª, µ, º, À..ÿ
// except × and ÷), so that a keyword or word may hold them.
bool isAnsiLetter(char c);
bool isAnsiLetterOrDigit(char c);

// Upper case of an ASCII letter; any other character is returned unchanged.
char asciiUpper(char c);
std::string asciiUpper(std::string_view text);

// Case-insensitive comparisons of ASCII letters; other characters must match exactly.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);

} // namespace kestrel::script
