#include "script/script_codec.h"

#include <algorithm>

namespace kestrel::script {

std::optional<ScriptKey> parseScriptHeader(std::span<const uint8_t> header) {
    if (header.size() < kScriptKeyEnd)
        return std::nullopt;
    ScriptKey key;
    key.count = header[5];
    std::copy_n(header.begin() + 6, kScriptKeySize, key.bytes.begin());
    return key;
}

std::array<uint8_t, kScriptHeaderSize> buildScriptHeader(const ScriptKey& key,
                                                         uint32_t bodyLength) {
    std::array<uint8_t, kScriptHeaderSize> header{};
    std::copy_n(kScriptMagic, sizeof kScriptMagic, header.begin());
    header[4] = kScriptFormatVersion;
    header[5] = key.count;
    std::copy(key.bytes.begin(), key.bytes.end(), header.begin() + 6);
    for (int i = 0; i < 4; ++i)
        header[16 + i] = static_cast<uint8_t>(bodyLength >> (8 * i));
    return header;
}

void scramble(std::span<uint8_t> bytes, const ScriptKey& key, uint64_t n) {
    for (uint8_t& byte : bytes)
        byte ^= key.bytes[n++ % kScriptKeySize];
}

std::vector<uint8_t> encodeScript(std::string_view text, const ScriptKey& key) {
    const auto header = buildScriptHeader(key, static_cast<uint32_t>(text.size()));
    std::vector<uint8_t> file(kScriptHeaderSize + text.size());
    std::copy(header.begin(), header.end(), file.begin());
    std::copy(text.begin(), text.end(), file.begin() + kScriptHeaderSize);
    scramble(std::span(file).subspan(kScriptHeaderSize), key, firstBodyCount(key));
    return file;
}

std::optional<std::array<uint8_t, kScriptKeySize>> parseHexKey(std::string_view hex) {
    if (hex.size() != 2 * kScriptKeySize)
        return std::nullopt;
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::array<uint8_t, kScriptKeySize> key{};
    for (size_t i = 0; i < kScriptKeySize; ++i) {
        const int high = digit(hex[2 * i]);
        const int low = digit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        key[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return key;
}

} // namespace kestrel::script
