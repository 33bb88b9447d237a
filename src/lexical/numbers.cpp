#include "lexical/numbers.h"

#include "lexical/line_words.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kestrel::lexical {

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithDigit(std::string_view text) {
    return !text.empty() && isDecimalDigit(text.front());
}

std::optional<uint64_t> parseUnsignedDecimal(std::string_view word) {
    if (word.empty() || word.size() > 19)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : word) {
        if (!isDecimalDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

std::optional<int32_t> parseSmallNumber(std::string_view word, int32_t limit) {
    if (word.size() > 9)
        return std::nullopt;
    const std::optional<uint64_t> value = parseUnsignedDecimal(word);
    if (!value || *value >= static_cast<uint64_t>(limit))
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::optional<double> parseDecimalNumber(std::string_view word) {
    size_t i = 0;
    if (i < word.size() && (word[i] == '+' || word[i] == '-'))
        ++i;
    size_t digits = 0;
    bool point = false;
    for (size_t j = i; j < word.size(); ++j) {
        if (isDecimalDigit(word[j])) {
            ++digits;
        } else if (word[j] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || digits > 30)
        return std::nullopt;
    // from_chars takes no leading '+'.
    std::string_view number = word;
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        return std::nullopt;
    return value;
}

namespace {

// The length of the [sign]digits[.digits] that text begins with (after skipped white space,
// which skip reports), and whether any digit stood in it.
size_t decimalPrefix(std::string_view text, size_t& skip, bool& anyDigit, bool fraction) {
    skip = 0;
    while (skip < text.size() && isWhiteSpace(text[skip]))
        ++skip;
    size_t i = skip;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    anyDigit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDecimalDigit(text[i]))
            anyDigit = true;
        else if (fraction && text[i] == '.' && !point)
            point = true;
        else
            break;
    }
    return i - skip;
}

} // namespace

LeadingNumber<int32_t> leadingInteger(std::string_view word) {
    size_t skip = 0;
    bool anyDigit = false;
    const size_t length = decimalPrefix(word, skip, anyDigit, false);
    std::string_view digits = word.substr(skip, length);
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
        digits.remove_prefix(1);
    const bool inRange = leadingDigits(digits).has_value();
    const bool plain = skip == 0 && anyDigit && length == word.size() && inRange;
    return {leadingSignedNumber(word), plain, inRange};
}

LeadingNumber<double> leadingDecimal(std::string_view word) {
    size_t skip = 0;
    bool anyDigit = false;
    const size_t length = decimalPrefix(word, skip, anyDigit, true);
    if (!anyDigit)
        return {0.0, false};
    std::string_view number = word.substr(skip, length);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.remove_prefix(1);
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed);
    return {negative ? -value : value, parseDecimalNumber(word).has_value()};
}

std::optional<LeadingNumber<int32_t>> leadingSize(std::string_view word) {
    const LeadingNumber<double> number = leadingDecimal(word);
    double value = number.value;
    const size_t unit = word.find_first_of("KkMm");
    if (unit != std::string_view::npos)
        value *= (word[unit] == 'K' || word[unit] == 'k') ? 1e3 : 1e6;
    value = std::trunc(value);
    if (value > static_cast<double>(kInt32Max) || value < -static_cast<double>(kInt32Max) - 1)
        return std::nullopt;
    const bool unitAtEnd = unit == std::string_view::npos || unit + 1 == word.size();
    const std::string_view digits =
        word.substr(0, unit == std::string_view::npos ? word.size() : unit);
    return LeadingNumber<int32_t>{static_cast<int32_t>(value),
                                  unitAtEnd && !digits.empty() && digits.front() != '-' &&
                                      digits.front() != '+' &&
                                      parseDecimalNumber(digits).has_value()};
}

std::optional<int32_t> leadingDigits(std::string_view text) {
    int64_t value = 0;
    for (size_t i = 0; i < text.size() && isDecimalDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kInt32Max)
            return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t leadingNumber(std::string_view text) {
    return leadingDigits(text).value_or(static_cast<int32_t>(kInt32Max));
}

int32_t leadingSignedNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && isDecimalDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kInt32Max + 1)
            value = kInt32Max + 1; // further digits cannot bring it back in range
    }
    if (negative)
        value = -value;
    if (value > kInt32Max)
        value = kInt32Max;
    return static_cast<int32_t>(value);
}

std::optional<uint32_t> parseDwordText(std::string_view text) {
    text = trimBlanks(text);
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
        base = 8;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        unsigned digit;
        if (isDecimalDigit(c))
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

} // namespace kestrel::lexical
