// Implode: our encoder of the format that explode_decoder.cpp describes and decodes.
//
// Parsing. The three codes of the format are fixed, so the exact price in bits of every literal
// and of every copy is known before anything is written. That makes the best division of the
// input into literals and copies a shortest-path problem over byte positions, which this
// encoder solves block by block: it walks forward through the block, pricing a literal and
// every copy length the match finder offers at each position, keeps the cheapest way found to
// reach every position, and at the block's end writes the cheapest path. On text this comes out
// about 3% smaller than lazy matching with the same match finder, mostly because it places the
// cheap short copies (a length-2 copy costs 8 to 14 bits, two plain literals 18) where they pay.
//
// Match finding, per position: the nearest earlier occurrence of its byte pair (copies of
// length 2 reach back at most 256 bytes) and of its first three bytes, each from a table of
// newest positions, then hash chains keyed on four bytes, newest first. A chain is met in order
// of growing distance, so the first candidate to reach a length is the cheapest one for it. A
// copy of kLongMatch bytes or more is taken at once, which keeps runs and repeated blocks fast.
//
// The tables hold positions as the low 16 bits of their stream offset, so they never need
// rebasing when the window slides. A stale or never-written entry can only cost a wasted
// comparison: every candidate's distance is checked against the dictionary and the start of
// the stream, and its bytes are compared before it is used.
//
// Memory is fixed at construction, about 300 KB: a 32 KB input window (dictionary, one block
// and the lookahead), the match tables and one block of path prices.
#include "files/implode_encoder.h"

#include "files/implode_codes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

namespace kestrel::files {
namespace {

using namespace implode;

// Search effort. The figures trade a little compression for speed on text; see the
// benchmark (bench/explode_bench) before changing them.
constexpr uint32_t kMaxChain = 12;   // chain candidates looked at per position
constexpr uint32_t kNiceLength = 32; // a candidate this long ends the search
constexpr uint32_t kSkipLength = 12; // inside the first half of a copy this long, no chain walk
constexpr uint32_t kLongMatch = 64;  // copies this long are taken without pricing

constexpr uint32_t kWindowCapacity = 1u << 15;
constexpr uint32_t kBlockSize = 1u << 12; // positions priced together
constexpr uint32_t kHash3Bits = 15;
constexpr uint32_t kHash4Bits = 14;
constexpr uint32_t kChainSize = 1u << 13; // chain links kept: twice the largest dictionary
constexpr size_t kOutputChunk = 1u << 14; // bytes handed to the sink at a time
constexpr uint32_t kInfinity = 0xFFFFFFFF;

// Bits of one copy length (flag, length code and extra bits), by length.
struct LengthCode {
    uint8_t symbol;
    uint8_t bits;
};

constexpr std::array<LengthCode, kMaxMatch + 1> buildLengthCodes() {
    std::array<LengthCode, kMaxMatch + 1> t{};
    for (uint32_t s = 0; s < 16; ++s)
        for (uint32_t x = 0; x < (1u << kLengthExtraBits[s]); ++x) {
            uint32_t length = kLengthBase[s] + x + kMinMatch;
            if (length <= kMaxMatch)
                t[length] = {static_cast<uint8_t>(s),
                             static_cast<uint8_t>(1 + kLengthBits[s] + kLengthExtraBits[s])};
        }
    return t;
}
constexpr auto kLengthCode = buildLengthCodes();

inline uint32_t load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline uint32_t pairOf(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}

inline uint32_t hash3(const uint8_t* p) {
    uint32_t v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    return (v * 2654435761u) >> (32 - kHash3Bits);
}

inline uint32_t hash4(const uint8_t* p) {
    return (load32(p) * 2654435761u) >> (32 - kHash4Bits);
}

// Length of the common run of a and b, at most limit; both may be read 8 bytes past limit.
inline uint32_t commonLength(const uint8_t* a, const uint8_t* b, uint32_t limit) {
    uint32_t n = 0;
    while (n < limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (uint64_t diff = x ^ y) {
            if constexpr (std::endian::native == std::endian::little)
                n += static_cast<uint32_t>(std::countr_zero(diff)) >> 3;
            else
                while (a[n] == b[n])
                    ++n;
            return std::min(n, limit);
        }
        n += 8;
    }
    return limit;
}

} // namespace

struct ImplodeEncoder::State {
    Sink sink;
    bool coded;
    uint32_t dictBits;
    uint32_t dictSize;
    std::array<uint16_t, 256> literalPrice; // bits of one literal, flag included

    // Input window: [0, avail) holds bytes, pos is the next to encode, and the dictionary
    // reaches back from pos. offset is the stream offset of window[0]. 8 spare bytes keep word
    // compares in bounds.
    std::vector<uint8_t> window = std::vector<uint8_t>(kWindowCapacity + 8);
    uint32_t avail = 0;
    uint32_t pos = 0;
    uint32_t offset = 0;
    // Positions as the low 16 bits of their stream offset: the newest of each byte pair and of
    // each three-byte hash, and chains of all positions by a hash of four bytes, newest first.
    std::vector<uint16_t> lastPair = std::vector<uint16_t>(1u << 16);
    std::vector<uint16_t> lastTriple = std::vector<uint16_t>(1u << kHash3Bits);
    std::vector<uint16_t> head = std::vector<uint16_t>(1u << kHash4Bits);
    std::vector<uint16_t> chain = std::vector<uint16_t>(kChainSize);

    // The cheapest way found to each position of a block, indexed by offset from the block's
    // start: price in bits << 32 | length of the last step << 16 | its distance. The cheaper
    // way in is simply the smaller value, which keeps the pricing free of branches.
    std::vector<uint64_t> node = std::vector<uint64_t>(kBlockSize + 1);

    // Bit writer: bits not yet whole bytes, least significant first.
    uint64_t bits = 0;
    uint32_t bitCount = 0;
    std::vector<uint8_t> out;

    uint64_t totalIn = 0;
    uint64_t totalOut = 0;
    bool failed = false;
    bool finished = false;

    uint32_t copyPrice(uint32_t length, uint32_t distance) const {
        uint32_t lowBits = length == kMinMatch ? 2 : dictBits;
        return kLengthCode[length].bits + kDistanceBits[(distance - 1) >> lowBits] + lowBits;
    }

    void insert(uint32_t p);
    void encodeBlock(uint32_t end);
    void emitLiteral(uint8_t byte);
    void emitCopy(uint32_t length, uint32_t distance);
    void putBits(uint32_t value, uint32_t count);
    bool drain(bool all);
    void slide();
    bool compress(bool final);
};

// Enters window position p into the match tables (the pricing loop does this inline).
void ImplodeEncoder::State::insert(uint32_t p) {
    uint16_t at = static_cast<uint16_t>(offset + p);
    if (p + 1 < avail)
        lastPair[pairOf(&window[p])] = at;
    if (p + 2 < avail)
        lastTriple[hash3(&window[p])] = at;
    if (p + 3 < avail) {
        uint32_t h = hash4(&window[p]);
        chain[at & (kChainSize - 1)] = head[h];
        head[h] = at;
    }
}

// Prices every way through window positions [pos, end) and writes the cheapest.
void ImplodeEncoder::State::encodeBlock(uint32_t end) {
    const uint8_t* w = window.data();
    uint32_t start = pos;
    uint32_t blockLength = end - start;
    node[0] = 0;
    uint32_t priced = 0; // node[] is set up to here; the rest is filled as copies reach it
    uint32_t searchFrom = 0;
    for (uint32_t i = 0; i < blockLength; ++i) {
        uint32_t p = start + i;
        uint32_t here = static_cast<uint32_t>(node[i] >> 32);
        uint32_t maxLength = std::min<uint32_t>(kMaxMatch, blockLength - i);
        if (priced < i + maxLength) {
            uint32_t to = std::min(blockLength, i + 2 * kMaxMatch);
            std::fill(&node[priced + 1], &node[to] + 1, ~uint64_t{0});
            priced = to;
        }
        uint32_t viaLiteral = here + literalPrice[w[p]];
        node[i + 1] = std::min(node[i + 1], uint64_t{viaLiteral} << 32 | 1u << 16);
        if (p + 3 >= avail) {
            // The last bytes of the stream: too few to hash, so they stay literals.
            insert(p);
            continue;
        }
        // Enter p into the tables, keeping what they held for the search.
        uint16_t at = static_cast<uint16_t>(offset + p);
        uint32_t word = load32(w + p);
        uint16_t& pairSlot = lastPair[pairOf(w + p)];
        uint16_t& tripleSlot = lastTriple[hash3(w + p)];
        uint16_t& headSlot = head[hash4(w + p)];
        uint16_t nearestPair = pairSlot, nearestTriple = tripleSlot, q = headSlot;
        pairSlot = tripleSlot = headSlot = at;
        chain[at & (kChainSize - 1)] = q;

        // Distances reach back no further than the dictionary and the start of the stream
        // (window position 0 until the window first slides).
        uint32_t reach = std::min(dictSize, p);
        uint32_t distance = static_cast<uint16_t>(at - nearestPair);
        if (maxLength >= 2 && distance - 1 < std::min(reach, kMaxDistanceOfLength2) &&
            w[p - distance] == w[p] && w[p - distance + 1] == w[p + 1]) {
            uint64_t through = uint64_t{here + copyPrice(2, distance)} << 32 | 2u << 16 | distance;
            node[i + 2] = std::min(node[i + 2], through);
        }
        uint32_t best = 2;
        uint32_t bestDistance = 0;
        // Lengths best + 1 .. length through `distance`; a candidate only counts when it is
        // longer than every nearer one.
        uint64_t* reached = &node[i];
        uint8_t next = w[p + 2]; // the byte a candidate must match to beat `best`
        auto relax = [&](uint32_t length, uint32_t distance) {
            uint64_t base = uint64_t{here + kDistanceBits[(distance - 1) >> dictBits] + dictBits}
                                << 32 |
                            distance;
            for (uint32_t l = best + 1; l <= length; ++l) {
                uint64_t through = base + (uint64_t{kLengthCode[l].bits} << 32 | l << 16);
                reached[l] = std::min(reached[l], through);
            }
            best = length;
            bestDistance = distance;
            next = w[p + std::min(best, maxLength - 1)];
        };
        if (maxLength >= 3) {
            // The nearest three-byte match, then longer ones along the four-byte chain, whose
            // links run to ever larger distances. The distance test also ends the walk on a
            // stale link (one left from 4 GB ago, or a position overwritten in the chain).
            uint32_t enough = std::min(maxLength, kNiceLength);
            distance = static_cast<uint16_t>(at - nearestTriple);
            if (distance - 1 < reach) {
                const uint8_t* from = w + p - distance;
                if (from[0] == w[p] && from[1] == w[p + 1] && from[2] == w[p + 2])
                    relax(commonLength(from, w + p, maxLength), distance);
            }
            uint32_t left = best < enough && i >= searchFrom ? kMaxChain : 0;
            for (; left > 0; --left, q = chain[q & (kChainSize - 1)]) {
                distance = static_cast<uint16_t>(at - q);
                if (distance - 1 >= reach)
                    break;
                const uint8_t* from = w + p - distance;
                if (from[best] != next || load32(from) != word)
                    continue;
                uint32_t length = commonLength(from, w + p, maxLength);
                if (length > best) {
                    relax(length, distance);
                    if (best >= enough)
                        break;
                }
            }
        }
        if (best >= kSkipLength)
            searchFrom = i + best / 2;
        if (best >= kLongMatch) {
            // Take it: the block ends behind this copy.
            node[i + best] =
                uint64_t{here + copyPrice(best, bestDistance)} << 32 | best << 16 | bestDistance;
            for (uint32_t k = 1; k < best; ++k)
                insert(p + k);
            blockLength = i + best;
            break;
        }
    }
    // Walk back from the end, turning each entry's price into the position that follows it
    // on the cheapest path, then write the path forward.
    uint32_t first = kInfinity;
    for (uint32_t at = blockLength; at > 0;) {
        uint32_t from = at - static_cast<uint16_t>(node[at] >> 16);
        node[at] = uint64_t{first} << 32 | (node[at] & 0xFFFFFFFF);
        first = at;
        at = from;
    }
    for (uint32_t from = 0, at = first; at != kInfinity;) {
        if (at - from == 1)
            emitLiteral(w[start + from]);
        else
            emitCopy(at - from, static_cast<uint16_t>(node[at]));
        from = at;
        at = static_cast<uint32_t>(node[at] >> 32);
    }
    pos = start + blockLength;
}

void ImplodeEncoder::State::putBits(uint32_t value, uint32_t count) {
    bits |= uint64_t{value} << bitCount;
    bitCount += count;
    if (bitCount >= 32) {
        uint32_t word = static_cast<uint32_t>(bits);
        uint8_t bytes[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                            static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
        out.insert(out.end(), bytes, bytes + 4);
        bits >>= 32;
        bitCount -= 32;
    }
}

void ImplodeEncoder::State::emitLiteral(uint8_t byte) {
    if (coded)
        putBits(uint32_t{kLiteralCodes[byte]} << 1, 1 + kLiteralBits[byte]);
    else
        putBits(uint32_t{byte} << 1, 9);
}

void ImplodeEncoder::State::emitCopy(uint32_t length, uint32_t distance) {
    uint32_t s = kLengthCode[length].symbol;
    uint32_t n = kLengthBits[s];
    putBits(1 | uint32_t{kLengthCodes[s]} << 1 | (length - kMinMatch - kLengthBase[s]) << (1 + n),
            1 + n + kLengthExtraBits[s]);
    uint32_t lowBits = length == kMinMatch ? 2 : dictBits;
    uint32_t high = (distance - 1) >> lowBits;
    uint32_t low = (distance - 1) & ((1u << lowBits) - 1);
    putBits(kDistanceCodes[high] | low << kDistanceBits[high], kDistanceBits[high] + lowBits);
}

// Hands the whole bytes written so far to the sink, once kOutputChunk have
// gathered or when `all` is set.
bool ImplodeEncoder::State::drain(bool all) {
    if (failed)
        return false;
    if (out.size() < kOutputChunk && !all)
        return true;
    if (!out.empty()) {
        if (!sink(out.data(), out.size())) {
            failed = true;
            return false;
        }
        totalOut += out.size();
        out.clear();
    }
    return true;
}

// Drops input that has left the dictionary and moves the rest to the front.
void ImplodeEncoder::State::slide() {
    uint32_t shift = pos > dictSize ? pos - dictSize : 0;
    std::memmove(window.data(), window.data() + shift, avail - shift);
    avail -= shift;
    pos -= shift;
    offset += shift;
}

// Encodes as far as the lookahead allows (everything when final).
bool ImplodeEncoder::State::compress(bool final) {
    for (;;) {
        uint32_t ahead = avail - pos;
        if (ahead == 0 || (!final && ahead < kBlockSize + kMaxMatch))
            return drain(false);
        encodeBlock(pos + std::min(ahead, kBlockSize));
        if (!drain(false))
            return false;
    }
}

ImplodeEncoder::ImplodeEncoder(ImplodeOptions options, Sink sink)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.sink = std::move(sink);
    s.coded = options.literals == ImplodeLiteralMode::Ascii;
    s.dictSize = static_cast<uint32_t>(options.dictionary);
    s.dictBits = s.dictSize == 1024 ? 4 : s.dictSize == 2048 ? 5 : 6;
    s.dictSize = 64u << s.dictBits; // any other value counts as 4096
    for (uint32_t b = 0; b < 256; ++b)
        s.literalPrice[b] = static_cast<uint16_t>(s.coded ? 1 + kLiteralBits[b] : 9);
    s.out.reserve(kOutputChunk + 64);
    s.out.push_back(s.coded ? kCodedLiterals : kBinaryLiterals);
    s.out.push_back(static_cast<uint8_t>(s.dictBits));
}

ImplodeEncoder::~ImplodeEncoder() = default;

bool ImplodeEncoder::write(const uint8_t* data, size_t size) {
    State& s = *state_;
    if (s.failed || s.finished)
        return false;
    while (size > 0) {
        if (s.avail == kWindowCapacity)
            s.slide();
        size_t n = std::min<size_t>(size, kWindowCapacity - s.avail);
        std::memcpy(&s.window[s.avail], data, n);
        s.avail += static_cast<uint32_t>(n);
        s.totalIn += n;
        data += n;
        size -= n;
        if (!s.compress(false))
            return false;
    }
    return true;
}

bool ImplodeEncoder::finish() {
    State& s = *state_;
    if (s.failed || s.finished)
        return false;
    s.finished = true;
    if (!s.compress(true))
        return false;
    // End marker: the longest length symbol with all its extra bits set, no
    // distance.
    s.putBits(1 | uint32_t{kLengthCodes[15]} << 1 | 0xFFu << (1 + kLengthBits[15]),
              1 + kLengthBits[15] + 8);
    while (s.bitCount > 0) {
        s.out.push_back(static_cast<uint8_t>(s.bits));
        s.bits >>= 8;
        s.bitCount = s.bitCount > 8 ? s.bitCount - 8 : 0;
    }
    // Decoders refuse streams of 4 bytes or fewer; only empty input comes out
    // that short.
    while (s.totalOut + s.out.size() < 5)
        s.out.push_back(0);
    return s.drain(true);
}

uint64_t ImplodeEncoder::bytesIn() const {
    return state_->totalIn;
}
uint64_t ImplodeEncoder::bytesOut() const {
    return state_->totalOut + state_->out.size();
}

std::vector<uint8_t> implodeBuffer(std::span<const uint8_t> in, ImplodeOptions options) {
    std::vector<uint8_t> result;
    ImplodeEncoder encoder(options, [&result](const uint8_t* data, size_t size) {
        result.insert(result.end(), data, data + size);
        return true;
    });
    encoder.write(in);
    encoder.finish();
    return result;
}

} // namespace kestrel::files
