#include "json_fields.h"

#include "ui/ansi_to_utf16.h"

namespace kst::json {

std::string utf8FromAnsi(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    // Code page 1252 lies within the Basic Multilingual Plane: three bytes at most.
    for (const char16_t c : kestrel::ui::ansiToUtf16(text)) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

} // namespace kst::json
