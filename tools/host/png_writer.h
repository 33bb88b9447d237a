// A minimal PNG encoder for screenshots: 8-bit RGB, no filtering, compressed with zlib
// (windows are mostly flat colour and repeated rows, which deflate finds on its own).
#pragma once

#include <cstdint>
#include <vector>

namespace kestrel::host {

// rgb holds width * height pixels, 3 bytes each, rows top to bottom.
std::vector<uint8_t> encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

} // namespace kestrel::host
