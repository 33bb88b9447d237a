#include "ui/screen_picture.h"

#include <algorithm>

namespace kestrel::ui {

namespace {

// Offsets of the info header's fields, from the start of the info header.
constexpr size_t kSizeField = 0;
constexpr size_t kWidthField = 4;
constexpr size_t kHeightField = 8;
constexpr size_t kPlanesField = 12;
constexpr size_t kBitCountField = 14;
constexpr size_t kCompressionField = 16;
constexpr size_t kImageSizeField = 20;
constexpr size_t kColoursUsedField = 32;
constexpr size_t kColoursImportantField = 36;
constexpr size_t kBitsOffsetField = 10; // in the file header

// Callers have checked that the bytes are there.
uint32_t readU32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8) | (uint32_t(bytes[at + 2]) << 16) |
           (uint32_t(bytes[at + 3]) << 24);
}

uint16_t readU16(std::span<const uint8_t> bytes, size_t at) {
    return uint16_t(bytes[at] | (bytes[at + 1] << 8));
}

void writeU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

bool drawableBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

} // namespace

std::optional<ScreenPicture> loadScreenPicture(std::span<const uint8_t> file, PictureError* error) {
    auto refuse = [error](PictureError why) -> std::optional<ScreenPicture> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M')
        return refuse(PictureError::NotBitmap);
    const std::span<const uint8_t> info = file.subspan(kFileHeaderSize);
    const uint64_t headerSize = readU32(info, kSizeField);
    if (headerSize < kInfoHeaderSize)
        return refuse(PictureError::OldHeader);
    if (headerSize > info.size())
        return refuse(PictureError::Truncated);

    const int32_t width = int32_t(readU32(info, kWidthField));
    const int32_t height = int32_t(readU32(info, kHeightField));
    const uint16_t bitCount = readU16(info, kBitCountField);
    if (readU16(info, kPlanesField) != 1 || !drawableBitCount(bitCount) ||
        readU32(info, kCompressionField) != 0)
        return refuse(PictureError::Unsupported);
    // A negative height marks rows stored top row first; such pictures are refused rather
    // than turned over.
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return refuse(PictureError::BadSize);

    // 24-bit pixels carry their colours; a table beside them only helps palette devices.
    const uint64_t maxColours = bitCount == 24 ? 256 : uint64_t(1) << bitCount;
    const uint64_t coloursUsed = readU32(info, kColoursUsedField);
    const uint64_t colourCount = coloursUsed != 0 ? coloursUsed : bitCount == 24 ? 0 : maxColours;
    if (colourCount > maxColours)
        return refuse(PictureError::BadColourCount);

    const uint64_t stride = (uint64_t(bitCount) * uint64_t(width) + 31) / 32 * 4;
    const uint64_t rowsSize = stride * uint64_t(height);
    const uint64_t imageSize = readU32(info, kImageSizeField);
    if (imageSize != 0 && imageSize < rowsSize)
        return refuse(PictureError::BadImageSize);

    const uint64_t tableStart = kFileHeaderSize + headerSize;
    const uint64_t tableEnd = tableStart + 4 * colourCount;
    const uint64_t bitsOffset = readU32(file, kBitsOffsetField);
    const uint64_t bitsStart = bitsOffset != 0 ? bitsOffset : tableEnd;
    if (tableEnd > file.size() || bitsStart < tableEnd || bitsStart > file.size())
        return refuse(PictureError::Truncated);
    const uint64_t available = file.size() - bitsStart;
    if (std::max(rowsSize, imageSize) > available)
        return refuse(PictureError::Truncated);

    ScreenPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bitsPerPixel = bitCount;
    picture.rowStride = size_t(stride);
    picture.bitsOffset = kInfoHeaderSize + size_t(4 * colourCount);
    picture.dib.assign(info.begin(), info.begin() + kInfoHeaderSize);
    writeU32(picture.dib, kSizeField, kInfoHeaderSize);
    writeU32(picture.dib, kImageSizeField, uint32_t(rowsSize));
    writeU32(picture.dib, kColoursUsedField, uint32_t(colourCount));
    writeU32(picture.dib, kColoursImportantField, 0);
    picture.dib.reserve(picture.bitsOffset + size_t(rowsSize));
    for (uint64_t i = 0; i < colourCount; ++i) {
        const size_t at = size_t(tableStart + 4 * i);
        const Colour colour{file[at + 2], file[at + 1], file[at]};
        picture.colours.push_back(colour);
        picture.dib.insert(picture.dib.end(), {colour.blue, colour.green, colour.red, 0});
    }
    const auto rows = file.subspan(size_t(bitsStart), size_t(rowsSize));
    picture.dib.insert(picture.dib.end(), rows.begin(), rows.end());
    if (error)
        *error = PictureError::None;
    return picture;
}

std::vector<uint8_t> paletteIndexHeader(const ScreenPicture& picture) {
    std::vector<uint8_t> header(
        picture.dib.begin(), picture.dib.begin() + std::min(picture.dib.size(), kInfoHeaderSize));
    for (size_t i = 0; i < picture.colours.size(); ++i) {
        header.push_back(uint8_t(i));
        header.push_back(uint8_t(i >> 8));
    }
    return header;
}

} // namespace kestrel::ui
