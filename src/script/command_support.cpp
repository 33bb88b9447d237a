#include "script/command_support.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrel::script {

std::string readTextOrWord(FieldCursor& cursor) {
    std::string text = cursor.readQuoted();
    if (text.empty())
        text = cursor.readWord();
    return text;
}

bool quoteFollows(FieldCursor& cursor) {
    cursor.skipSeparators();
    return !cursor.atEnd() && cursor.rest().front() == '"';
}

std::optional<int32_t> parseSize(std::string_view word) {
    size_t digitsEnd = 0;
    bool anyDigit = false;
    bool point = false;
    for (; digitsEnd < word.size(); ++digitsEnd) {
        const char c = word[digitsEnd];
        if (c >= '0' && c <= '9')
            anyDigit = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (!anyDigit)
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(word.data(), word.data() + digitsEnd, value, std::chars_format::fixed);
    if (ec != std::errc{} || end != word.data() + digitsEnd)
        return std::nullopt;
    const size_t unit = word.find_first_of("KkMm", digitsEnd);
    if (unit != std::string_view::npos)
        value *= (word[unit] == 'K' || word[unit] == 'k') ? 1e3 : 1e6;
    value = std::trunc(value);
    if (value > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<int32_t> parseSmallNumber(std::string_view word, int32_t limit) {
    if (word.empty() || word.size() > 9)
        return std::nullopt;
    int32_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= limit)
        return std::nullopt;
    return value;
}

int32_t leadingNumber(std::string_view word) {
    int64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            break;
        value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(value);
}

} // namespace kestrel::script
