#include "listing_format.h"

#include <cstdio>

namespace kst {

std::string formatDosDate(uint16_t date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", 1980 + (date >> 9), (date >> 5) & 15,
                  date & 31);
    return text;
}

std::string formatDosTime(uint16_t time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time >> 11, (time >> 5) & 63,
                  (time & 31) * 2);
    return text;
}

std::string formatAttributes(uint32_t attributes) {
    namespace a = kestrel::os::attributes;
    std::string letters = "----";
    if (attributes & a::ReadOnly) {
        letters[0] = 'R';
    }
    if (attributes & a::Hidden) {
        letters[1] = 'H';
    }
    if (attributes & a::System) {
        letters[2] = 'S';
    }
    if (attributes & a::Archive) {
        letters[3] = 'A';
    }
    return letters;
}

} // namespace kst
