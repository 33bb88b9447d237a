#include "ui/ansi_to_utf16.h"

#include <array>

namespace kestrel::ui {

namespace {

// Code page 1252 at 0x80..0x9F, from the code page's published table. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the
// same value, as the system's own conversion does. Every other byte is its own code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

} // namespace

char16_t ansiToUtf16(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return static_cast<char16_t>(byte);
}

std::u16string ansiToUtf16(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(ansiToUtf16(c));
    return wide;
}

} // namespace kestrel::ui
