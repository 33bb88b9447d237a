// Numbers as scripts write them. Every reader of a number in a script line comes here, so that
// the same word means the same number wherever it stands; each function says exactly which
// words it takes, since the commands differ (a size takes a fraction and a unit, a popup number
// only digits, a registry DWORD a C-style base prefix).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::lexical {

bool isDecimalDigit(char c);
bool startsWithDigit(std::string_view text);

// A whole word of decimal digits (no sign, no blanks) that fits 64 bits: 1 to 19 digits.
std::optional<uint64_t> parseUnsignedDecimal(std::string_view word);
// A word of 1 to 9 decimal digits only, as a number below limit; none otherwise.
std::optional<int32_t> parseSmallNumber(std::string_view word, int32_t limit);
// A whole word of the form [+|-]digits[.digits] or [+|-].digits (at most 30 digits), as a
// floating-point number.
std::optional<double> parseDecimalNumber(std::string_view word);

// A number read as far as it goes, the way the C library reads one, and whether the word was
// that number and nothing else: a reader that takes "12abc" as 12 says so, so that the script's
// author can hear of it.
template <typename T> struct LeadingNumber {
    T value{};
    bool plain = false;
    bool inRange = true; // false when the digits went beyond what T holds (value held there)
};

// As atoi: leading white space, an optional sign, digits up to the first other character; 0
// without digits; held within the 32-bit range. Plain: a sign and 1 to 10 digits, all in range.
LeadingNumber<int32_t> leadingInteger(std::string_view word);
// As atof, decimal only: leading white space, an optional sign, digits with an optional
// fraction; 0 without digits. Plain: what parseDecimalNumber takes.
LeadingNumber<double> leadingDecimal(std::string_view word);
// A size in bytes: leadingDecimal of the word, times 1,000 for the first K or 1,000,000 for the
// first M (any case) that the word holds, truncated; units are decimal. Plain: a number and at
// most one unit letter after it. None beyond the 32-bit range.
std::optional<LeadingNumber<int32_t>> leadingSize(std::string_view word);

// The decimal digits text starts with, up to the first other character: 0 without any; none
// when they do not fit 32 bits.
std::optional<int32_t> leadingDigits(std::string_view text);
// leadingDigits held within the 32-bit range.
int32_t leadingNumber(std::string_view text);
// A decimal integer as a C library reads one: leading white space, an optional sign, then
// digits up to the first non-digit; 0 without digits; held within the 32-bit range.
int32_t leadingSignedNumber(std::string_view text);

// A registry DWORD as written: blanks around it, then decimal, hexadecimal after "0x" or octal
// after a leading 0, every character a digit of its base; none when it is not a 32-bit number.
std::optional<uint32_t> parseDwordText(std::string_view text);

} // namespace kestrel::lexical
