// Operand reading and comparison shared by the condition tests and the item parsers.
#pragma once

#include "script/field_cursor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::script {

// A whole word of decimal digits (no sign, no blanks) that fits 64 bits.
std::optional<uint64_t> parseUnsignedDecimal(std::string_view word);
// A whole word of the form [+|-]digits[.digits] or [+|-].digits, as a floating-point number.
std::optional<double> parseDecimalNumber(std::string_view word);

// Ordinal comparison ignoring the case of letters, ASCII and those of code page 1252: <0, 0
// or >0 as a sorts before, equal to or after b.
int compareIgnoringCase(std::string_view a, std::string_view b);
// Position of needle in haystack ignoring case, or npos. An empty needle is found at 0.
size_t findIgnoringCase(std::string_view haystack, std::string_view needle);

// Whether "a op b" holds, given the three-way comparison of a with b (<0, 0, >0). The error
// and range codes never hold.
bool comparisonHolds(int threeWay, ComparisonOperator op);

template <typename T> int threeWayCompare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace kestrel::script
