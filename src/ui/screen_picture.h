// Screen and intro pictures: device-independent bitmap files of 1, 4, 8 or 24 bits per pixel,
// checked and repacked for drawing. The picture comes from the network, so every header field
// is tested against the bytes that are really there; a file whose fields do not describe its
// bytes is refused (and the plug-in paints its gradient instead).
//
// File layout, all numbers little-endian:
//
//   0   14 bytes  file header: "BM", file size, 4 reserved bytes, offset of the pixel rows
//   14  40 bytes  info header (a longer one is accepted, its first 40 bytes read): size,
//                 width, height, planes, bits per pixel, compression, image size, two
//                 resolutions, colours used, colours important
//   then          colour table: 4 bytes per colour, blue, green, red, reserved
//   then          pixel rows, bottom row first, each padded to a multiple of 4 bytes; at the
//                 header's offset when that is not 0, else right after the colour table
//
// Refused: a 12-byte (or any under 40) info header, planes other than 1, bits per pixel other
// than 1, 4, 8 and 24, compression, a width or height of 0, a negative (top-down) height, a
// side above kMaxPictureSide, more colours than the bits per pixel address (256 at most for
// 24 bits), an image-size field smaller than the rows need or larger than the bytes present,
// and any table or row that would lie past the end of the file or over the headers.
#pragma once

#include "ui/colour.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrel::ui {

// Far beyond any screen; keeps every size the window side computes well inside 32 bits.
inline constexpr int32_t kMaxPictureSide = 32767;
inline constexpr size_t kFileHeaderSize = 14;
inline constexpr size_t kInfoHeaderSize = 40;

struct ScreenPicture {
    int32_t width = 0;
    int32_t height = 0; // rows, stored bottom row first
    int32_t bitsPerPixel = 0;
    size_t rowStride = 0;        // bytes per row, padded to 4
    std::vector<Colour> colours; // the colour table in file order
    // What SetDIBits takes: a 40-byte info header (its size, image-size and colours-used
    // fields made to match what follows), the colour table, then the pixel rows.
    std::vector<uint8_t> dib;
    size_t bitsOffset = 0; // where the pixel rows start inside dib

    // More than 16 colours in a table the pixels index: drawn through a palette of its own.
    bool needsPalette() const { return bitsPerPixel <= 8 && colours.size() > 16; }
    std::span<const uint8_t> bits() const {
        return std::span<const uint8_t>(dib).subspan(bitsOffset);
    }
};

enum class PictureError {
    None,
    NotBitmap,      // no "BM", or shorter than the two headers
    OldHeader,      // an info header under 40 bytes (the 12-byte kind among them)
    Unsupported,    // planes, bits per pixel or compression this loader does not draw
    BadSize,        // width or height 0, negative or too large
    BadColourCount, // more colours than the pixels can index
    BadImageSize,   // the image-size field disagrees with the rows
    Truncated,      // the colour table or the rows lie past the end or over the headers
};

// The picture in file, or nothing (with the reason in *error when asked).
std::optional<ScreenPicture> loadScreenPicture(std::span<const uint8_t> file,
                                               PictureError* error = nullptr);

// The info header followed by the 16-bit palette indices 0 .. colours - 1: the header that
// draws the rows through the picture's own palette (DIB_PAL_COLORS).
std::vector<uint8_t> paletteIndexHeader(const ScreenPicture& picture);

} // namespace kestrel::ui
