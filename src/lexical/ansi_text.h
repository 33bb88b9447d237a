// Character tests and the two case-folding rules of script text. Script text is 8-bit text of
// the Windows ANSI code page (1252). Keywords, option words, macro names and member names
// compare under the ASCII rule (only A-Z and a-z fold); condition operands and searched text
// compare under the code page 1252 rule, which folds the accented capitals too.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::lexical {

// Letters of code page 1252, accented ones included (ƒ, Š, Œ, Ž, š, œ, ž, Ÿ, ª, µ, º, À..ÿ
// except × and ÷), so that a keyword or word may hold them.
bool isAnsiLetter(char c);
bool isAnsiLetterOrDigit(char c);

// Upper case of an ASCII letter; any other character is returned unchanged.
char asciiUpper(char c);
std::string asciiUpper(std::string_view text);

// ASCII rule: letters A-Z match a-z; every other character must match exactly.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// Code page 1252 rule: ASCII letters and the code page's capitals that have a small letter
// (À..Þ except ×, Š, Œ, Ž, Ÿ) fold to lower case.
unsigned char cp1252Lower(char c);
// Ordinal comparison under the code page 1252 rule: <0, 0 or >0 as a sorts before, equal to
// or after b.
int compareIgnoringCp1252Case(std::string_view a, std::string_view b);
// Position of needle in haystack under the code page 1252 rule, or npos. An empty needle is
// found at 0.
size_t findIgnoringCp1252Case(std::string_view haystack, std::string_view needle);

} // namespace kestrel::lexical
