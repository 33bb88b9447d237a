#include "lexical/ansi_text.h"

namespace kestrel::lexical {

bool isAnsiLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
        return true;
    switch (u) {
    case 0x83:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
    case 0xAA:
    case 0xB5:
    case 0xBA:
        return true;
    default:
        return u >= 0xC0 && u != 0xD7 && u != 0xF7;
    }
}

bool isAnsiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || isAnsiLetter(c);
}

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string asciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = asciiUpper(c);
    return upper;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithIgnoringAsciiCase(a, b);
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (asciiUpper(text[i]) != asciiUpper(prefix[i]))
            return false;
    }
    return true;
}

unsigned char cp1252Lower(char c) {
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

int compareIgnoringCp1252Case(std::string_view a, std::string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = cp1252Lower(a[i]);
        const unsigned char y = cp1252Lower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (b.size() < a.size() ? 1 : 0);
}

size_t findIgnoringCp1252Case(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size())
        return std::string_view::npos;
    for (size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        size_t i = 0;
        while (i < needle.size() && cp1252Lower(haystack[start + i]) == cp1252Lower(needle[i]))
            ++i;
        if (i == needle.size())
            return start;
    }
    return std::string_view::npos;
}

} // namespace kestrel::lexical
