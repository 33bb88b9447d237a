#include "png_writer.h"

#include <new>
#include <string_view>

#include <zlib.h>

namespace kestrel::host {
namespace {

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(uint8_t(value >> shift));
    }
}

void putChunk(std::vector<uint8_t>& png, std::string_view type, const std::vector<uint8_t>& data) {
    putU32(png, uint32_t(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    putU32(png, uint32_t(crc32(0, png.data() + start, uInt(png.size() - start))));
}

std::vector<uint8_t> zlibCompressed(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), Z_BEST_SPEED) != Z_OK)
        throw std::bad_alloc();
    out.resize(size);
    return out;
}

} // namespace

std::vector<uint8_t> encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putU32(header, width);
    putU32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (1 + size_t(width) * 3));
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // filter type None
        auto row = rgb.begin() + ptrdiff_t(size_t(y) * width * 3);
        raw.insert(raw.end(), row, row + ptrdiff_t(size_t(width) * 3));
    }
    putChunk(png, "IDAT", zlibCompressed(raw));
    putChunk(png, "IEND", {});
    return png;
}

} // namespace kestrel::host
