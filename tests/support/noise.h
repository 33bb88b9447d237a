// Bytes that implode poorly, so that stored lengths are close to the file sizes; the same seed
// gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel::test {

inline std::string noise(size_t size, uint32_t seed) {
    std::string out(size, '\0');
    for (char& c : out) {
        seed = seed * 1103515245 + 12345;
        c = char(seed >> 23);
    }
    return out;
}

} // namespace kestrel::test
