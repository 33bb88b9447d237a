#include "ui/status_number.h"

#include <algorithm>
#include <limits>

namespace kestrel::ui {

namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

int32_t statusNumber(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && isWhiteSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    // Counted in 64 bits and held just past the 32-bit range, so that long digit runs cannot
    // overflow.
    constexpr int64_t kPastRange = int64_t(std::numeric_limits<int32_t>::max()) + 2;
    int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min(value * 10 + (text[at] - '0'), kPastRange);
    return int32_t(std::clamp<int64_t>(negative ? -value : value,
                                       std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

} // namespace kestrel::ui
