// Little-endian numbers in byte buffers, as the container and archive formats store them.
#pragma once

#include <cstdint>

namespace kestrel::files {

inline uint16_t loadU16(const uint8_t* at) {
    return uint16_t(at[0] | (at[1] << 8));
}

inline uint32_t loadU32(const uint8_t* at) {
    return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) |
           (uint32_t(at[3]) << 24);
}

inline void storeU16(uint8_t* at, uint16_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

inline void storeU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = uint8_t(value >> (8 * i));
    }
}

} // namespace kestrel::files
