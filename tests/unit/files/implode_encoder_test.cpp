#include "files/implode_encoder.h"

#include "files/explode_decoder.h"
#include "files/implode_codes.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace kestrel::files {
namespace {

using Bytes = std::vector<uint8_t>;

// A second decoder, bit by bit and matching codes by search, sharing nothing with the fast one
// but the code tables. It is strict: distances never reach before the start, and the stream
// must end with the end marker. nullopt for anything else.
std::optional<Bytes> referenceDecode(const Bytes& in) {
    if (in.size() < 5 || in[0] > 1 || in[1] < 4 || in[1] > 6)
        return std::nullopt;
    size_t bit = 16;
    auto next = [&](uint32_t n, uint32_t& value) {
        value = 0;
        for (uint32_t i = 0; i < n; ++i, ++bit) {
            if (bit / 8 >= in.size())
                return false;
            value |= uint32_t{(in[bit / 8] >> (bit % 8)) & 1u} << i;
        }
        return true;
    };
    auto symbol = [&](auto& bits, auto& codes, uint32_t& found) {
        uint32_t value = 0;
        for (uint32_t n = 1; n <= 13; ++n) {
            uint32_t b;
            if (!next(1, b))
                return false;
            value |= b << (n - 1);
            for (uint32_t s = 0; s < bits.size(); ++s)
                if (bits[s] == n && codes[s] == value) {
                    found = s;
                    return true;
                }
        }
        return false;
    };
    Bytes out;
    for (;;) {
        uint32_t flag, value;
        if (!next(1, flag))
            return std::nullopt;
        if (flag == 0) {
            bool ok = in[0] ? symbol(implode::kLiteralBits, implode::kLiteralCodes, value)
                            : next(8, value);
            if (!ok)
                return std::nullopt;
            out.push_back(static_cast<uint8_t>(value));
            continue;
        }
        uint32_t s, extra, high, low;
        if (!symbol(implode::kLengthBits, implode::kLengthCodes, s) ||
            !next(implode::kLengthExtraBits[s], extra))
            return std::nullopt;
        uint32_t length = implode::kLengthBase[s] + extra + 2;
        if (length == implode::kEndMarkerLength)
            return out;
        uint32_t lowBits = length == 2 ? 2 : in[1];
        if (!symbol(implode::kDistanceBits, implode::kDistanceCodes, high) || !next(lowBits, low))
            return std::nullopt;
        size_t distance = (high << lowBits) + low + 1;
        if (distance > out.size())
            return std::nullopt;
        for (uint32_t k = 0; k < length; ++k)
            out.push_back(out[out.size() - distance]);
    }
}

std::vector<std::pair<std::string, Bytes>> samples() {
    std::mt19937 random(3);
    std::vector<std::pair<std::string, Bytes>> s;
    s.push_back({"empty", {}});
    s.push_back({"one byte", {'x'}});
    s.push_back({"byte 0", {0}});
    s.push_back({"byte 255", {255}});
    std::string prose;
    const char* words[] = {"the ",        "installer ", "copies ", "files ",   "into ",
                           "a ",          "folder, ",   "and ",    "records ", "each ",
                           "change.\r\n", "Then ",      "it ",     "ends. "};
    while (prose.size() < 150000)
        prose += words[random() % 14];
    s.push_back({"prose", Bytes(prose.begin(), prose.end())});
    Bytes noise(70000);
    for (auto& b : noise)
        b = static_cast<uint8_t>(random());
    s.push_back({"noise", noise});
    s.push_back({"zeros", Bytes(100000, 0)});
    Bytes periods;
    for (uint32_t period = 1; period <= 9; ++period)
        for (uint32_t i = 0; i < 700; ++i)
            periods.push_back(static_cast<uint8_t>(i % period * 37 + period));
    s.push_back({"short periods", periods});
    // Repeats at distances near each window size, and longer than one copy.
    Bytes blocks;
    for (uint32_t round = 0; round < 40; ++round) {
        Bytes block(1000 + 1024 * (round % 4) + round);
        for (auto& b : block)
            b = static_cast<uint8_t>(random() % 4);
        for (int k = 0; k < 2; ++k)
            blocks.insert(blocks.end(), block.begin(), block.end());
    }
    s.push_back({"repeats", blocks});
    return s;
}

TEST(ImplodeEncoder, RoundTripsEveryModeAndDictionary) {
    for (auto& [name, data] : samples())
        for (auto literals : {ImplodeLiteralMode::Binary, ImplodeLiteralMode::Ascii})
            for (auto dictionary : {ImplodeDictionary::Size1024, ImplodeDictionary::Size2048,
                                    ImplodeDictionary::Size4096}) {
                SCOPED_TRACE(name + " " + std::to_string(static_cast<int>(literals)) + " " +
                             std::to_string(static_cast<int>(dictionary)));
                Bytes packed = implodeBuffer(data, {literals, dictionary});
                ASSERT_GE(packed.size(), 5u);
                EXPECT_EQ(packed[0], static_cast<uint8_t>(literals));
                EXPECT_EQ(64u << packed[1], static_cast<uint32_t>(dictionary));
                Bytes out;
                EXPECT_EQ(explodeBuffer(packed, out), ExplodeResult::Done);
                EXPECT_EQ(out, data);
                EXPECT_EQ(referenceDecode(packed), data);
            }
}

TEST(ImplodeEncoder, FindsWhatThereIsToFind) {
    auto size = [](const Bytes& data, ImplodeLiteralMode literals) {
        return implodeBuffer(data, {literals, ImplodeDictionary::Size4096}).size();
    };
    for (auto& [name, data] : samples()) {
        SCOPED_TRACE(name);
        if (name == "zeros") { // 518-byte copies at distance 1: 24 bits each
            EXPECT_LT(size(data, ImplodeLiteralMode::Binary), data.size() / 518 * 24 / 8 + 16);
        } else if (name == "noise") { // nothing to find: 9 bits a byte, and no more
            EXPECT_LE(size(data, ImplodeLiteralMode::Binary), data.size() * 9 / 8 + 4);
        } else if (name == "prose") { // one copy for most words
            EXPECT_LT(size(data, ImplodeLiteralMode::Binary), data.size() / 2);
            EXPECT_LT(size(data, ImplodeLiteralMode::Ascii),
                      size(data, ImplodeLiteralMode::Binary));
        }
    }
}

TEST(ImplodeEncoder, OutputDoesNotDependOnHowInputArrives) {
    auto all = samples();
    const Bytes& prose = all[4].second;
    for (auto literals : {ImplodeLiteralMode::Binary, ImplodeLiteralMode::Ascii}) {
        Bytes whole = implodeBuffer(prose, {literals, ImplodeDictionary::Size2048});
        for (size_t chunk : {size_t{1}, size_t{777}, size_t{40000}}) {
            Bytes streamed;
            size_t sinkCalls = 0;
            ImplodeEncoder encoder({literals, ImplodeDictionary::Size2048},
                                   [&](const uint8_t* data, size_t size) {
                                       ++sinkCalls;
                                       streamed.insert(streamed.end(), data, data + size);
                                       return true;
                                   });
            for (size_t at = 0; at < prose.size(); at += chunk)
                ASSERT_TRUE(encoder.write(prose.data() + at, std::min(chunk, prose.size() - at)));
            ASSERT_TRUE(encoder.finish());
            EXPECT_EQ(streamed, whole);
            EXPECT_GT(sinkCalls, 1u); // handed over while running, not all at the end
            EXPECT_EQ(encoder.bytesIn(), prose.size());
            EXPECT_EQ(encoder.bytesOut(), whole.size());
            EXPECT_FALSE(encoder.write(prose.data(), 1));
        }
    }
}

TEST(ImplodeEncoder, StopsAtAFailingSink) {
    auto all = samples();
    int calls = 0;
    ImplodeEncoder encoder({}, [&](const uint8_t*, size_t) {
        ++calls;
        return false;
    });
    EXPECT_FALSE(encoder.write(all[5].second)); // noise: enough to fill the sink's first chunk
    EXPECT_FALSE(encoder.write(all[5].second));
    EXPECT_FALSE(encoder.finish());
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace kestrel::files
