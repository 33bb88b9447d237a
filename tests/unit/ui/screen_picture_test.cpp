#include "ui/screen_picture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kestrel::ui {
namespace {

void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

// Colour i is (i, 2i, 3i); colours 0 writes as many as the bits address. Rows count up from 1,
// gap bytes after the table (then named by the file header's offset).
std::vector<uint8_t> bitmapFile(int bits, int width, int height, uint32_t colours,
                                uint32_t infoSize = 40, uint32_t gap = 0) {
    const uint32_t stride = (bits * width + 31) / 32 * 4;
    const uint32_t entries = colours != 0 || bits == 24 ? colours : 1u << bits;
    const uint32_t rowsAt = 14 + infoSize + 4 * entries + gap;
    std::vector<uint8_t> file(rowsAt + stride * height);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 10, gap ? rowsAt : 0);
    put32(file, 14, infoSize);
    put32(file, 18, width);
    put32(file, 22, height);
    file[26] = 1;
    file[28] = uint8_t(bits);
    put32(file, 46, colours);
    for (uint32_t i = 0; i < entries; ++i)
        put32(file, 14 + infoSize + 4 * i, (3 * i & 0xFF) << 16 | (2 * i & 0xFF) << 8 | (i & 0xFF));
    std::iota(file.begin() + rowsAt, file.end(), uint8_t(1));
    return file;
}

TEST(ScreenPicture, RepacksEveryDrawableDepthWithItsTableAndRows) {
    struct Case {
        int bits, width, height;
        uint32_t colours, infoSize, gap;
        size_t tableSize, stride;
        bool palette;
    } cases[] = {
        {1, 9, 3, 0, 40, 0, 2, 4, false},     // colours used 0: 2^bits
        {4, 9, 2, 16, 40, 0, 16, 8, false},   // 16 colours: no palette yet
        {8, 3, 2, 17, 40, 0, 17, 4, true},    // 17: drawn through a palette
        {8, 5, 1, 0, 124, 6, 256, 8, true},   // long header, rows at the file header's offset
        {24, 3, 2, 0, 40, 0, 0, 12, false},   // no table
        {24, 1, 1, 200, 40, 0, 200, 4, false} // a 24-bit table only helps palette devices
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits * 1000 + c.colours);
        const std::vector<uint8_t> file =
            bitmapFile(c.bits, c.width, c.height, c.colours, c.infoSize, c.gap);
        const auto picture = loadScreenPicture(file);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->rowStride, c.stride);
        EXPECT_EQ(picture->needsPalette(), c.palette);
        ASSERT_EQ(picture->colours.size(), c.tableSize);
        if (c.tableSize > 5) {
            EXPECT_EQ(picture->colours[5], (Colour{15, 10, 5}));
        }
        // 40 header bytes that describe exactly the table and rows behind them.
        const size_t rows = c.stride * c.height;
        ASSERT_EQ(picture->dib.size(), 40 + 4 * c.tableSize + rows);
        EXPECT_EQ(picture->dib[0], 40);
        EXPECT_EQ(picture->dib[20] | picture->dib[21] << 8, int(rows));
        EXPECT_EQ(picture->dib[32], uint8_t(c.tableSize));
        EXPECT_TRUE(std::equal(picture->bits().begin(), picture->bits().end(), file.end() - rows));
    }
}

TEST(ScreenPicture, RefusesFieldsThatDoNotDescribeTheBytes) {
    struct Case {
        const char* what;
        size_t at; // field to overwrite, or 0 to cut the file to `value` bytes
        uint32_t value;
        PictureError error;
    } cases[] = {
        {"not BM", 1, 'X', PictureError::NotBitmap},
        {"12-byte header", 14, 12, PictureError::OldHeader},
        {"header past the end", 14, 4000, PictureError::Truncated},
        {"two planes", 26, 2, PictureError::Unsupported},
        {"16 bits", 28, 16, PictureError::Unsupported},
        {"run-length", 30, 1, PictureError::Unsupported},
        {"width 0", 18, 0, PictureError::BadSize},
        {"top-down", 22, uint32_t(-2), PictureError::BadSize},
        {"huge", 18, 0x10000000, PictureError::BadSize},
        {"257 colours", 46, 257, PictureError::BadColourCount},
        {"2^32 colours", 46, 0xFFFFFFFF, PictureError::BadColourCount},
        {"image size short", 34, 15, PictureError::BadImageSize},
        {"image size past end", 34, 17, PictureError::Truncated},
        {"offset past end", 10, 5000, PictureError::Truncated},
        {"offset over table", 10, 60, PictureError::Truncated},
        {"rows cut", 0, 14 + 40 + 16 + 15, PictureError::Truncated},
        {"table cut", 0, 14 + 40 + 10, PictureError::Truncated},
        {"headers cut", 0, 17, PictureError::NotBitmap},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> file = bitmapFile(8, 6, 2, 4); // 16 bytes of rows
        ASSERT_TRUE(loadScreenPicture(file));
        if (c.at == 0)
            file.resize(c.value);
        else if (c.at == 1)
            file[1] = uint8_t(c.value);
        else
            put32(file, c.at, c.value);
        PictureError error = PictureError::None;
        EXPECT_FALSE(loadScreenPicture(file, &error));
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
} // namespace kestrel::ui
