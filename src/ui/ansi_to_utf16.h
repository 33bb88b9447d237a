// Script text is 8-bit text of the Windows ANSI code page 1252; dialog templates hold 16-bit
// characters. The conversion is the code page's own table, not a widening of the bytes: 0x80
// is the euro sign, 0x93 and 0x94 are curly quotes.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::ui {

char16_t ansiToUtf16(char c);
std::u16string ansiToUtf16(std::string_view text);

} // namespace kestrel::ui
