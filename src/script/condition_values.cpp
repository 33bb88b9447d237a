#include "script/condition_values.h"

#include <charconv>

namespace kestrel::script {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Lower case of ASCII letters and of the code page 1252 capitals that have one.
unsigned char foldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<unsigned char>(u + ('a' - 'A'));
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<unsigned char>(u + 0x20);
    switch (u) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<unsigned char>(u + 0x10);
    case 0x9F: // Y diaeresis
        return 0xFF;
    default:
        return u;
    }
}

} // namespace

std::optional<uint64_t> parseUnsignedDecimal(std::string_view word) {
    if (word.empty() || word.size() > 19)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : word) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

std::optional<double> parseDecimalNumber(std::string_view word) {
    size_t i = 0;
    if (i < word.size() && (word[i] == '+' || word[i] == '-'))
        ++i;
    size_t digits = 0;
    bool point = false;
    for (size_t j = i; j < word.size(); ++j) {
        if (isDigit(word[j])) {
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

int compareIgnoringCase(std::string_view a, std::string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = foldCase(a[i]);
        const unsigned char y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return threeWayCompare(a.size(), b.size());
}

size_t findIgnoringCase(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size())
        return std::string_view::npos;
    for (size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        size_t i = 0;
        while (i < needle.size() && foldCase(haystack[start + i]) == foldCase(needle[i]))
            ++i;
        if (i == needle.size())
            return start;
    }
    return std::string_view::npos;
}

bool comparisonHolds(int threeWay, ComparisonOperator op) {
    switch (op) {
    case ComparisonOperator::Equal:
        return threeWay == 0;
    case ComparisonOperator::Greater:
        return threeWay > 0;
    case ComparisonOperator::Less:
        return threeWay < 0;
    case ComparisonOperator::GreaterOrEqual:
        return threeWay >= 0;
    case ComparisonOperator::LessOrEqual:
        return threeWay <= 0;
    case ComparisonOperator::NotEqual:
        return threeWay != 0;
    case ComparisonOperator::Error:
    case ComparisonOperator::Range:
        break;
    }
    return false;
}

} // namespace kestrel::script
