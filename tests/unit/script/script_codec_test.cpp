#include "script/script_codec.h"

#include <gtest/gtest.h>

namespace kestrel::script {
namespace {

TEST(ScriptCodec, ScramblesEachByteWithTheKeyByteOfItsPosition) {
    ScriptKey key;
    key.bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};
    key.count = 3;
    const std::vector<uint8_t> file = encodeScript("AB\n", key);

    // File position p uses key byte (3 + p - 16) mod 10: p=32 -> 9, p=33 -> 0, p=34 -> 1.
    const std::vector<uint8_t> expected = {
        'K',        'S',        'T',         'S', 1, 3, 1, 2, 3, 4, 5, 6,
        7,          8,          9,           10,  3, 0, 0, 0,             // header
        0,          0,          0,           0,   0, 0, 0, 0, 0, 0, 0, 0, // reserved
        'A' ^ 0x0A, 'B' ^ 0x01, '\n' ^ 0x02,
    };
    EXPECT_EQ(file, expected);

    const auto parsed = parseScriptHeader(file);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, key);
    EXPECT_FALSE(parseScriptHeader(std::span(file).first(15)));
}

TEST(ScriptCodec, ZeroKeyLeavesTheTextAndCount255WrapsTheKeyIndex) {
    const std::string text = "TITLE \"x\"\r\nREM y\n";
    const std::vector<uint8_t> plain = encodeScript(text, ScriptKey{});
    EXPECT_EQ(std::string(plain.begin() + kScriptHeaderSize, plain.end()), text);

    ScriptKey key;
    key.bytes = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    key.count = 255;
    std::vector<uint8_t> body(plain.begin() + kScriptHeaderSize, plain.end());
    scramble(body, key, firstBodyCount(key));
    EXPECT_EQ(body[0], uint8_t('T' ^ key.bytes[(255 + 32 - 16) % 10]));
    scramble(body, key, firstBodyCount(key));
    EXPECT_EQ(std::string(body.begin(), body.end()), text);
}

TEST(ScriptCodec, HexKeys) {
    const auto key = parseHexKey("00ff10Aa0102030405fE");
    ASSERT_TRUE(key);
    EXPECT_EQ((*key)[1], 0xFF);
    EXPECT_EQ((*key)[3], 0xAA);
    EXPECT_EQ((*key)[9], 0xFE);
    EXPECT_FALSE(parseHexKey("00ff10aa0102030405f"));    // 19 digits
    EXPECT_FALSE(parseHexKey("00ff10aa0102030405fe00")); // 22 digits
    EXPECT_FALSE(parseHexKey("00ff10aa0102030405fg"));
}

} // namespace
} // namespace kestrel::script
