// The installation script file (.kst): a 32-byte header, then the script text scrambled with a
// 10-byte key.
//
//   bytes 0-3    "KSTS"           written by the encoder; readers ignore them
//   byte  4      format version 1 written by the encoder; readers ignore it
//   byte  5      starting count c (unsigned)
//   bytes 6-15   the script key
//   bytes 16-19  body length, little-endian, written by the encoder; readers ignore it
//   bytes 20-31  zero; readers ignore them
//   bytes 32-    the body: each byte XORed with key[n mod 10], where n counts the bytes read
//                and is c + 16 for the first body byte. So the byte at file position p uses key
//                byte (c + p - 16) mod 10. A key of ten zero bytes leaves the text as it is.
//
// Scrambling and descrambling are the same operation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::script {

inline constexpr size_t kScriptHeaderSize = 32;
inline constexpr size_t kScriptKeySize = 10;
inline constexpr size_t kScriptKeyEnd = 16; // the header bytes that carry count and key
inline constexpr char kScriptMagic[4] = {'K', 'S', 'T', 'S'};
inline constexpr uint8_t kScriptFormatVersion = 1;

struct ScriptKey {
    std::array<uint8_t, kScriptKeySize> bytes{};
    uint8_t count = 0; // the starting count c of the header
    friend bool operator==(const ScriptKey&, const ScriptKey&) = default;
};

// The running count n of the first body byte.
inline uint64_t firstBodyCount(const ScriptKey& key) {
    return uint64_t{key.count} + 16;
}

// Count and key from the first 16 bytes of a script file; none when fewer are given.
std::optional<ScriptKey> parseScriptHeader(std::span<const uint8_t> header);

// The 32-byte header the encoder writes.
std::array<uint8_t, kScriptHeaderSize> buildScriptHeader(const ScriptKey& key, uint32_t bodyLength);

// XORs body bytes with the key, the first byte having running count n.
void scramble(std::span<uint8_t> bytes, const ScriptKey& key, uint64_t n);

// A whole script file from plain script text.
std::vector<uint8_t> encodeScript(std::string_view text, const ScriptKey& key);

// A key written as 20 hexadecimal digits; none for anything else.
std::optional<std::array<uint8_t, kScriptKeySize>> parseHexKey(std::string_view hex);

} // namespace kestrel::script
