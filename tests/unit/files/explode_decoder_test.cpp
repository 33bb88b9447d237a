#include "files/explode_decoder.h"

#include "files/implode_codes.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace kestrel::files {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(const std::string& text) {
    Bytes out;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        out.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return out;
}

// Writes streams token by token, for cases an encoder would not produce.
class StreamBuilder {
  public:
    StreamBuilder(uint8_t mode, uint8_t dictBits) : bytes_{mode, dictBits}, dictBits_(dictBits) {}
    StreamBuilder& literal(uint8_t byte) {
        if (bytes_[0] == implode::kCodedLiterals)
            return put(uint32_t{implode::kLiteralCodes[byte]} << 1,
                       1 + implode::kLiteralBits[byte]);
        return put(uint32_t{byte} << 1, 9);
    }
    StreamBuilder& copy(uint32_t length, uint32_t distance) {
        lengthCode(length);
        uint32_t lowBits = length == 2 ? 2 : dictBits_;
        uint32_t high = (distance - 1) >> lowBits;
        put(implode::kDistanceCodes[high], implode::kDistanceBits[high]);
        return put((distance - 1) & ((1u << lowBits) - 1), lowBits);
    }
    StreamBuilder& end() { return lengthCode(implode::kEndMarkerLength); }
    Bytes bytes() const {
        Bytes out = bytes_;
        if (count_)
            out.push_back(static_cast<uint8_t>(bits_));
        return out;
    }

  private:
    StreamBuilder& lengthCode(uint32_t length) {
        uint32_t s = 15;
        while (implode::kLengthBase[s] + 2u > length)
            --s;
        put(1 | uint32_t{implode::kLengthCodes[s]} << 1, 1 + implode::kLengthBits[s]);
        return put(length - 2 - implode::kLengthBase[s], implode::kLengthExtraBits[s]);
    }
    StreamBuilder& put(uint32_t value, uint32_t n) {
        for (uint32_t i = 0; i < n; ++i) {
            bits_ |= ((value >> i) & 1) << count_;
            if (++count_ == 8) {
                bytes_.push_back(static_cast<uint8_t>(bits_));
                bits_ = count_ = 0;
            }
        }
        return *this;
    }
    Bytes bytes_;
    uint32_t dictBits_;
    uint32_t bits_ = 0;
    uint32_t count_ = 0;
};

// Feeds input in reads of at most `chunk` bytes and records every callback.
struct Recorder {
    explicit Recorder(Bytes in, size_t readChunk = 2048) : input(std::move(in)), chunk(readChunk) {}
    Bytes input;
    size_t chunk;
    size_t offset = 0;
    std::vector<uint32_t> readSizes;
    std::vector<uint32_t> writeSizes;
    Bytes output;

    ExplodeResult run(ExplodeDecoder* reuse = nullptr) {
        std::unique_ptr<ExplodeDecoder> own;
        ExplodeDecoder* decoder = reuse;
        if (!decoder) {
            own = std::make_unique<ExplodeDecoder>();
            decoder = own.get();
        }
        return decoder->explode(
            [](uint8_t* buffer, uint32_t* size, void* user) -> uint32_t {
                auto* r = static_cast<Recorder*>(user);
                r->readSizes.push_back(*size);
                size_t n = std::min({size_t{*size}, r->chunk, r->input.size() - r->offset});
                std::copy_n(r->input.begin() + static_cast<ptrdiff_t>(r->offset), n, buffer);
                r->offset += n;
                return static_cast<uint32_t>(n);
            },
            [](const uint8_t* buffer, uint32_t* count, void* user) {
                auto* r = static_cast<Recorder*>(user);
                r->writeSizes.push_back(*count);
                r->output.insert(r->output.end(), buffer, buffer + *count);
            },
            this);
    }
};

Bytes decode(const Bytes& in, ExplodeResult expected = ExplodeResult::Done) {
    Bytes out;
    EXPECT_EQ(explodeBuffer(in, out), expected);
    return out;
}

std::string text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

TEST(ExplodeDecoder, DecodesPublishedAndReferenceVectors) {
    EXPECT_EQ(text(decode(hex("00 04 82 24 25 8F 80 7F"))), "AIAIAIAIAIAIA");
    EXPECT_EQ(text(decode(hex("01 04 3E E0 1F"))), " ");
    EXPECT_EQ(decode(hex("01 04 8A 66 DB 3E 9D 88 88 41 12 90 00 00 76 03 FE 01")),
              hex("74 72 65 65 20 74 72 65 65 20 74 72 65 65 0D 0A 00 80 FF 00 80"));

    // Every literal code once, dictionary byte 6: the bytes 0..255 in order.
    StreamBuilder all(implode::kCodedLiterals, 6);
    for (uint32_t b = 0; b < 256; ++b)
        all.literal(static_cast<uint8_t>(b));
    Bytes stream = all.end().bytes();
    ASSERT_EQ(stream.size(), 378u);
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 16),
              hex("01 06 20 09 FC 81 1F F0 05 3E C0 1B 78 01 4F E0"));
    EXPECT_EQ(Bytes(stream.end() - 10, stream.end()), hex("01 80 01 20 00 10 00 08 F8 07"));
    Bytes expected(256);
    for (uint32_t b = 0; b < 256; ++b)
        expected[b] = static_cast<uint8_t>(b);
    EXPECT_EQ(decode(stream), expected);
}

TEST(ExplodeDecoder, ChecksTheHeaderInOrder) {
    // Four bytes are refused even when they hold a whole stream.
    EXPECT_EQ(StreamBuilder(0, 4).end().bytes().size(), 4u);
    decode(StreamBuilder(0, 4).end().bytes(), ExplodeResult::InputTooShort);
    decode({}, ExplodeResult::InputTooShort);
    decode(hex("00 03 00 00 00"), ExplodeResult::BadDictionarySize);
    decode(hex("00 07 00 00 00"), ExplodeResult::BadDictionarySize);
    decode(hex("02 04 00 00 00"), ExplodeResult::BadLiteralMode);
    decode(hex("02 07 00 00 00"), ExplodeResult::BadDictionarySize);

    // Only the first read counts for the length check.
    Recorder r{StreamBuilder(0, 4).literal('x').end().bytes()};
    r.chunk = 4;
    EXPECT_EQ(r.run(), ExplodeResult::InputTooShort);
    EXPECT_TRUE(r.writeSizes.empty());
}

TEST(ExplodeDecoder, CopiesFollowTheirDistanceRules) {
    // Length 2 takes two low distance bits; longer copies take the header's count.
    for (uint8_t dictBits = 4; dictBits <= 6; ++dictBits) {
        StreamBuilder s(0, dictBits);
        std::string expected;
        for (int i = 0; i < 300; ++i) {
            s.literal(static_cast<uint8_t>('a' + i % 26 + (i / 26) % 2 * 6));
            expected += static_cast<char>('a' + i % 26 + (i / 26) % 2 * 6);
        }
        s.copy(2, 256).copy(5, 1).copy(40, 7).copy(518, 16u << dictBits);
        for (auto [length, distance] : {std::pair{2u, 256u}, {5u, 1u}, {40u, 7u}}) {
            for (uint32_t k = 0; k < length; ++k)
                expected += expected[expected.size() - distance];
        }
        for (uint32_t k = 0; k < 518; ++k)
            expected += expected.size() >= (16u << dictBits)
                            ? expected[expected.size() - (16u << dictBits)]
                            : '\0';
        EXPECT_EQ(text(decode(s.end().bytes())), expected) << int{dictBits};
    }
    // A copy reaching back before the start reads zeros, also after an earlier stream.
    auto decoder = std::make_unique<ExplodeDecoder>();
    Recorder before{StreamBuilder(0, 6).literal('q').copy(518, 1).copy(518, 1).end().bytes()};
    EXPECT_EQ(before.run(decoder.get()), ExplodeResult::Done);
    Recorder r{StreamBuilder(0, 6).literal('z').copy(3, 4096).copy(2, 2).end().bytes()};
    EXPECT_EQ(r.run(decoder.get()), ExplodeResult::Done);
    EXPECT_EQ(r.output, Bytes({'z', 0, 0, 0, 0, 0}));
}

TEST(ExplodeDecoder, WritesWholeBlocksThenTheRest) {
    auto blocks = [](uint32_t size) {
        StreamBuilder s(0, 6);
        s.literal('q');
        for (uint32_t left = size - 1; left > 0;) {
            uint32_t n = std::min(left, 518u);
            if (n == 1)
                s.literal('q');
            else
                s.copy(n, 1);
            left -= n;
        }
        Recorder r{s.end().bytes()};
        EXPECT_EQ(r.run(), ExplodeResult::Done);
        EXPECT_EQ(r.output, Bytes(size, 'q'));
        return r.writeSizes;
    };
    EXPECT_EQ(blocks(4095), std::vector<uint32_t>({4095}));
    EXPECT_EQ(blocks(4096), std::vector<uint32_t>({4096, 0}));
    EXPECT_EQ(blocks(10000), std::vector<uint32_t>({4096, 4096, 1808}));
    Recorder empty{hex("00 04 01 FF 00")};
    EXPECT_EQ(empty.run(), ExplodeResult::Done);
    EXPECT_EQ(empty.writeSizes, std::vector<uint32_t>({0}));
}

TEST(ExplodeDecoder, ReadsAskFor2048AndShortReadsAreFine) {
    std::mt19937 random(7);
    StreamBuilder s(0, 5);
    Bytes expected;
    for (int i = 0; i < 9000; ++i) {
        expected.push_back(static_cast<uint8_t>(random()));
        s.literal(expected.back());
    }
    Bytes stream = s.end().bytes();
    ASSERT_GT(stream.size(), 2 * 2048u);
    for (size_t chunk : {size_t{2048}, size_t{5}, size_t{1000}}) {
        Recorder r{stream, chunk};
        EXPECT_EQ(r.run(), ExplodeResult::Done);
        EXPECT_EQ(r.output, expected);
        for (uint32_t size : r.readSizes)
            EXPECT_EQ(size, 2048u);
        // Whole blocks, then one more read for the lookahead past the end marker.
        if (chunk == 2048) {
            EXPECT_EQ(r.readSizes.size(), stream.size() / 2048 + 2);
        }
    }
}

TEST(ExplodeDecoder, EndMarkerMayRunIntoTheEndOfInput) {
    // Input ending right after the end marker's last extra bit: the lookahead byte is missing.
    Bytes exact = StreamBuilder(0, 4).literal('A').literal('B').literal('C').end().bytes();
    ASSERT_EQ(exact.size(), 2u + (27 + 16) / 8 + 1);
    EXPECT_EQ(text(decode(exact)), "ABC");
    Bytes padded = exact;
    padded.push_back(0xFF);
    EXPECT_EQ(text(decode(padded)), "ABC");

    // A literal whose lookahead byte is gone fails, and so does every cut-short stream.
    Bytes cut = StreamBuilder(0, 4).literal('A').literal('B').literal('C').literal('D').bytes();
    cut.push_back(0x00); // padding after the literals, then nothing
    EXPECT_EQ(text(decode(cut, ExplodeResult::BadData)), "ABCD");
    Bytes stream =
        StreamBuilder(1, 6).literal('e').literal(' ').copy(2, 2).copy(9, 2).end().bytes();
    for (size_t n = 5; n < stream.size(); ++n) {
        Bytes out = decode(Bytes(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(n)),
                           ExplodeResult::BadData);
        EXPECT_EQ(text(out), std::string("e e e e e e e").substr(0, out.size()));
    }
    EXPECT_EQ(text(decode(stream)), "e e e e e e e");
}

TEST(ExplodeDecoder, DamagedInputEndsWithAResultCode) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        Bytes junk(5 + random() % 3000);
        for (auto& b : junk)
            b = static_cast<uint8_t>(random());
        junk[0] = static_cast<uint8_t>(random() % 2);
        junk[1] = static_cast<uint8_t>(4 + random() % 3);
        Bytes out;
        ExplodeResult result = explodeBuffer(junk, out);
        EXPECT_TRUE(result == ExplodeResult::Done || result == ExplodeResult::BadData);
    }
}

} // namespace
} // namespace kestrel::files
