// The fixed codes of the implode format, shared by the decoder and the encoder.
//
// The format has no code tables in the stream: three fixed prefix codes serve every stream.
//   - literal code (coded-literal streams only): 256 codes of 4 to 13 bits for the byte values;
//   - length code: 16 symbols for copy lengths, each followed by 0 to 8 extra bits;
//   - distance code: 64 symbols for the high part of (distance - 1).
//
// Bit order. The stream is read least significant bit of each byte first. A code is given as
// (bits n, value c) where c is the next n stream bits taken as a number with the first bit
// lowest. So a reader whose bit buffer has the next stream bit at bit 0 compares the buffer's
// low n bits with c directly, and a writer ORs c into its buffer above the bits it holds; no
// side ever reverses bits.
//
// Where the numbers come from: the format's published fixed tables (the PKWARE Data
// Compression Library implode format), listed here code for code. The same codes follow from
// the code lengths alone: number the symbols canonically (shorter codes first, by symbol within
// a length, counting up from 0 as DEFLATE does), complement each code and send it most
// significant bit first. The static_asserts at the end rebuild every code that way, so a
// mistyped entry cannot compile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrel::files::implode {

// Header bytes: literal mode, then the number of low distance bits (window 1024, 2048, 4096).
inline constexpr uint8_t kBinaryLiterals = 0;
inline constexpr uint8_t kCodedLiterals = 1;
inline constexpr uint8_t kMinDictionaryBits = 4;
inline constexpr uint8_t kMaxDictionaryBits = 6;

// Copies are 2 to 518 bytes long; the length value 519 (length symbol 15 with all eight extra
// bits set) is the end marker and has no distance. A copy of length 2 takes two low distance
// bits (at most 256 back); longer copies take the header's 4, 5 or 6.
inline constexpr uint32_t kMinMatch = 2;
inline constexpr uint32_t kMaxMatch = 518;
inline constexpr uint32_t kEndMarkerLength = 519;
inline constexpr uint32_t kMaxDistanceOfLength2 = 256;

// clang-format off
// Literal code, indexed by byte value.
inline constexpr std::array<uint8_t, 256> kLiteralBits = {
    11, 12, 12, 12, 12, 12, 12, 12, 12,  8,  7, 12, 12,  7, 12, 12,
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 13, 12, 12, 12, 12, 12,
     4, 10,  8, 12, 10, 12, 10,  8,  7,  7,  8,  9,  7,  6,  7,  8,
     7,  6,  7,  7,  7,  7,  8,  7,  7,  8,  8, 12, 11,  7,  9, 11,
    12,  6,  7,  6,  6,  5,  7,  8,  8,  6, 11,  9,  6,  7,  6,  6,
     7, 11,  6,  6,  6,  7,  9,  8,  9,  9, 11,  8, 11,  9, 12,  8,
    12,  5,  6,  6,  6,  5,  6,  6,  6,  5, 11,  7,  5,  6,  5,  5,
     6, 10,  5,  5,  5,  5,  8,  7,  8,  8, 10, 11, 11, 12, 12, 12,
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,
    13, 12, 13, 13, 13, 12, 13, 13, 13, 12, 13, 13, 13, 13, 12, 13,
    13, 13, 12, 12, 12, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,
};
inline constexpr std::array<uint16_t, 256> kLiteralCodes = {
    1168, 4064, 2016, 3040,  992, 3552, 1504, 2528,  480,  184,   98, 3808, 1760,   34, 2784,  736,
    3296, 1248, 2272,  224, 3936, 1888, 2912,  864, 3424, 1376, 4672, 2400,  352, 3680, 1632, 2656,
      15,  592,   56,  608,   80, 3168,  912,  216,   66,    2,   88,  432,  124,   41,   60,  152,
      92,    9,   28,  108,   44,   76,   24,   12,  116,  232,  104, 1120,  144,   52,  176, 1808,
    2144,   49,   84,   17,   33,   23,   20,  168,   40,    1,  784,  304,   62,  100,   30,   46,
      36, 1296,   14,   54,   22,   68,   48,  200,  464,  208,  272,   72, 1552,  336,   96,  136,
    4000,    7,   38,    6,   58,   27,   26,   42,   10,   11,  528,    4,   19,   50,    3,   29,
      18,  400,   13,   21,    5,   25,    8,  120,  240,  112,  656, 1040,   16, 1952, 2976,  928,
     576, 7232, 3136, 5184, 1088, 6208, 2112, 4160,   64, 8064, 3968, 6016, 1920, 7040, 2944, 4992,
     896, 7552, 3456, 5504, 1408, 6528, 2432, 4480,  384, 7808, 3712, 5760, 1664, 6784, 2688, 4736,
     640, 7296, 3200, 5248, 1152, 6272, 2176, 4224,  128, 7936, 3840, 5888, 1792, 6912, 2816, 4864,
    3488, 1440, 2464,  416, 3744, 1696, 2720,  672, 3232, 1184, 2208,  160, 3872, 1824, 2848,  800,
    3360, 1312, 2336,  288, 3616, 1568, 2592,  544, 3104, 1056, 2080,   32, 4032, 1984, 3008,  960,
    3520, 1472, 2496,  448, 3776, 1728, 2752,  704, 3264, 1216, 2240,  192, 3904, 1856, 2880,  832,
     768, 3392, 7424, 3328, 5376, 1344, 1280, 6400, 2304, 2368, 4352,  256, 7680, 3584,  320, 5632,
    1536, 6656, 3648, 1600, 2624, 2560, 4608,  512, 7168, 3072, 5120, 1024, 6144, 2048, 4096,    0,
};
// clang-format on

// Length code, indexed by symbol = copy length class. Copy length = base + extra + 2.
inline constexpr std::array<uint8_t, 16> kLengthBits = {3, 2, 3, 3, 4, 4, 4, 5,
                                                        5, 5, 5, 6, 6, 6, 7, 7};
inline constexpr std::array<uint8_t, 16> kLengthCodes = {5, 3,  1, 6,  10, 2,  12, 20,
                                                         4, 24, 8, 48, 16, 32, 64, 0};
inline constexpr std::array<uint8_t, 16> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0,
                                                             1, 2, 3, 4, 5, 6, 7, 8};
inline constexpr std::array<uint16_t, 16> kLengthBase = {0, 1,  2,  3,  4,  5,  6,   7,
                                                         8, 10, 14, 22, 38, 70, 134, 262};

// clang-format off
// Distance code, indexed by the high part of (distance - 1): that value shifted right by the
// number of low distance bits.
inline constexpr std::array<uint8_t, 64> kDistanceBits = {
    2, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8,
};
inline constexpr std::array<uint8_t, 64> kDistanceCodes = {
    0x03, 0x0D, 0x05, 0x19, 0x09, 0x11, 0x01, 0x3E, 0x1E, 0x2E, 0x0E, 0x36, 0x16, 0x26, 0x06, 0x3A,
    0x1A, 0x2A, 0x0A, 0x32, 0x12, 0x22, 0x42, 0x02, 0x7C, 0x3C, 0x5C, 0x1C, 0x6C, 0x2C, 0x4C, 0x0C,
    0x74, 0x34, 0x54, 0x14, 0x64, 0x24, 0x44, 0x04, 0x78, 0x38, 0x58, 0x18, 0x68, 0x28, 0x48, 0x08,
    0xF0, 0x70, 0xB0, 0x30, 0xD0, 0x50, 0x90, 0x10, 0xE0, 0x60, 0xA0, 0x20, 0xC0, 0x40, 0x80, 0x00,
};
// clang-format on

namespace detail {

// True when codes[] is exactly the complemented canonical code of bits[], sent MSB first.
template <std::size_t N, typename Bits, typename Codes>
constexpr bool isInvertedCanonical(const std::array<Bits, N>& bits,
                                   const std::array<Codes, N>& codes) {
    uint32_t canonical = 0;
    uint32_t previousBits = 0;
    bool first = true;
    for (uint32_t n = 1; n <= 16; ++n) {
        for (std::size_t symbol = 0; symbol < N; ++symbol) {
            if (bits[symbol] != n)
                continue;
            if (!first)
                ++canonical;
            first = false;
            canonical <<= n - previousBits;
            previousBits = n;
            uint32_t sent = ~canonical & ((1u << n) - 1);
            uint32_t reversed = 0;
            for (uint32_t i = 0; i < n; ++i)
                reversed |= ((sent >> i) & 1u) << (n - 1 - i);
            if (codes[symbol] != reversed)
                return false;
        }
    }
    return true;
}

} // namespace detail

static_assert(detail::isInvertedCanonical(kLiteralBits, kLiteralCodes));
static_assert(detail::isInvertedCanonical(kLengthBits, kLengthCodes));
static_assert(detail::isInvertedCanonical(kDistanceBits, kDistanceCodes));
static_assert(kLengthBase[15] + 255 + 2 == kEndMarkerLength);

} // namespace kestrel::files::implode
