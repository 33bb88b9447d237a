// Bitmap files made pixel by pixel, drawn as the plug-in draws its pictures.
#pragma once

#include "ui/screen_picture.h"
#include "ui/win32/window_picture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kestrel::test {

inline void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// A bitmap file of width x height at bits per pixel whose pixel (x, y), counted from the top
// row, has the colour-table index (or, at 24 bits, the colour) that pixel(x, y) gives.
inline std::unique_ptr<ui::win32::WindowPicture>
picture(int bits, int width, int height, const std::vector<ui::Colour>& table,
        const std::function<uint32_t(int, int)>& pixel) {
    const size_t stride = size_t((bits * width + 31) / 32 * 4);
    const size_t rowsAt = 54 + 4 * table.size();
    std::vector<uint8_t> file(rowsAt + stride * size_t(height));
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 14, 40);
    put32(file, 18, uint32_t(width));
    put32(file, 22, uint32_t(height));
    file[26] = 1;
    file[28] = uint8_t(bits);
    put32(file, 46, uint32_t(table.size()));
    for (size_t i = 0; i < table.size(); ++i)
        put32(file, 54 + 4 * i, uint32_t(table[i].red) << 16 | table[i].green << 8 | table[i].blue);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &file[rowsAt + stride * size_t(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const uint32_t value = pixel(x, y);
            if (bits == 24) {
                row[3 * x] = uint8_t(value);
                row[3 * x + 1] = uint8_t(value >> 8);
                row[3 * x + 2] = uint8_t(value >> 16);
            } else {
                const int bit = x * bits;
                row[bit / 8] |= uint8_t(value << (8 - bits - bit % 8));
            }
        }
    }
    auto loaded = ui::loadScreenPicture(file);
    return loaded ? std::make_unique<ui::win32::WindowPicture>(std::move(*loaded)) : nullptr;
}

} // namespace kestrel::test
