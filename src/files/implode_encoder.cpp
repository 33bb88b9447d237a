// Implode: our encoder of the format that explode_decoder.cpp describes and
// decodes.
//
// Since the three codes of the format are fixed, the exact price in bits of
// every literal and every copy is known before anything is written. That makes
// the best division of the input into literals and copies a shortest-path
// problem over byte positions, and this encoder solves it: for a block of
// positions it walks forward, pricing a literal and every copy length that the
// match finder offers at each position, keeps the cheapest way to reach every
// position, and then writes the cheapest path back from the block's end.
//
// Match finding: every position goes into hash chains keyed on its next three
// bytes, newest first, so walking a chain meets candidates in order of growing
// distance and the first candidate to reach a length is the cheapest for it.
// Copies of length 2 may reach back only 256 bytes; the newest earlier position
// of each byte pair (a direct table) gives the nearest one. A copy of at least
// kLongMatch bytes is taken at once, which keeps runs and repeated blocks fast;
// the positions it covers are only hashed.
//
// Memory is fixed at construction: a 32 KB window of input (the dictionary
// behind the current position plus lookahead), the hash tables and one block of
// path prices.
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

constexpr uint32_t kWindowCapacity = 1u << 15; // positions fit in 16 bits
constexpr uint16_t kNoPosition = 0xFFFF;
constexpr uint32_t kBlockSize = 1u << 13; // positions priced together
constexpr uint32_t kHashBits = 15;
constexpr uint32_t kMaxChain = 48;        // candidates looked at per position
constexpr uint32_t kLongMatch = 96;       // copies this long are taken without pricing
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

inline uint32_t hash3(const uint8_t* p) {
    uint32_t v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
}

inline uint32_t pair(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}

// Length of the common run of a and b, at most limit; both may be read 8 bytes
// past limit.
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

    // Input window: [0, avail) holds bytes; pos is the next to encode; everything
    // before pos back to pos - dictSize is the dictionary. 8 spare bytes keep
    // word compares in bounds.
    std::vector<uint8_t> window = std::vector<uint8_t>(kWindowCapacity + 8);
    uint32_t avail = 0;
    uint32_t pos = 0;
    std::vector<uint16_t> head = std::vector<uint16_t>(1u << kHashBits, kNoPosition);
    std::vector<uint16_t> prev = std::vector<uint16_t>(kWindowCapacity, kNoPosition);
    std::vector<uint16_t> lastPair = std::vector<uint16_t>(1u << 16, kNoPosition);

    // Path prices of one block, indexed by offset from the block's start.
    std::vector<uint32_t> price = std::vector<uint32_t>(kBlockSize + 1);
    std::vector<uint16_t> stepLength = std::vector<uint16_t>(kBlockSize + 1);
    std::vector<uint16_t> stepDistance = std::vector<uint16_t>(kBlockSize + 1);

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

void ImplodeEncoder::State::insert(uint32_t p) {
    if (p + 1 < avail)
        lastPair[pair(&window[p])] = static_cast<uint16_t>(p);
    if (p + 2 < avail) {
        uint32_t h = hash3(&window[p]);
        prev[p] = head[h];
        head[h] = static_cast<uint16_t>(p);
    }
}

// Prices every way through positions [pos, end) and writes the cheapest.
void ImplodeEncoder::State::encodeBlock(uint32_t end) {
    const uint8_t* w = window.data();
    uint32_t start = pos;
    uint32_t blockLength = end - start;
    std::fill(price.begin(), price.begin() + blockLength + 1, kInfinity);
    price[0] = 0;
    for (uint32_t i = 0; i < blockLength; ++i) {
        uint32_t p = start + i;
        uint32_t here = price[i];
        uint32_t viaLiteral = here + literalPrice[w[p]];
        if (viaLiteral < price[i + 1]) {
            price[i + 1] = viaLiteral;
            stepLength[i + 1] = 1;
        }
        uint32_t maxLength = std::min<uint32_t>(kMaxMatch, blockLength - i);
        if (maxLength < kMinMatch) {
            insert(p);
            continue;
        }
        uint32_t best = 1;
        if (uint16_t q = lastPair[pair(w + p)];
            q != kNoPosition && p - q <= kMaxDistanceOfLength2) {
            uint32_t through = here + copyPrice(2, p - q);
            if (through < price[i + 2]) {
                price[i + 2] = through;
                stepLength[i + 2] = 2;
                stepDistance[i + 2] = static_cast<uint16_t>(p - q);
            }
        }
        uint32_t longestDistance = 0;
        if (maxLength >= 3 && p + 2 < avail) {
            uint32_t oldest = p > dictSize ? p - dictSize : 0;
            uint32_t chain = kMaxChain;
            for (uint16_t q = head[hash3(w + p)]; q != kNoPosition && q >= oldest && chain--;
                 q = prev[q]) {
                if (w[q + best] != w[p + best] || w[q] != w[p])
                    continue;
                uint32_t length = commonLength(w + q, w + p, maxLength);
                if (length <= best)
                    continue;
                uint32_t distance = p - q;
                uint32_t base = here + kDistanceBits[(distance - 1) >> dictBits] + dictBits;
                for (uint32_t l = std::max<uint32_t>(best + 1, 3); l <= length; ++l) {
                    uint32_t through = base + kLengthCode[l].bits;
                    if (through < price[i + l]) {
                        price[i + l] = through;
                        stepLength[i + l] = static_cast<uint16_t>(l);
                        stepDistance[i + l] = static_cast<uint16_t>(distance);
                    }
                }
                best = length;
                longestDistance = distance;
                if (length == maxLength)
                    break;
            }
        }
        insert(p);
        if (best >= kLongMatch) {
            // Take it: the block ends behind this copy.
            price[i + best] = here + copyPrice(best, longestDistance);
            stepLength[i + best] = static_cast<uint16_t>(best);
            stepDistance[i + best] = static_cast<uint16_t>(longestDistance);
            for (uint32_t k = 1; k < best; ++k)
                insert(p + k);
            blockLength = i + best;
            break;
        }
    }
    // Walk back from the end, leaving in price[] the next node of the path after
    // each node.
    uint32_t first = kInfinity;
    for (uint32_t at = blockLength; at > 0;) {
        uint32_t from = at - stepLength[at];
        price[at] = first;
        first = at;
        at = from;
    }
    for (uint32_t from = 0, node = first; node != kInfinity; from = node, node = price[node]) {
        if (node - from == 1)
            emitLiteral(w[start + from]);
        else
            emitCopy(node - from, stepDistance[node]);
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
    if (shift == 0)
        return;
    std::memmove(window.data(), window.data() + shift, avail - shift);
    auto rebase = [shift](uint16_t& p) {
        p = (p == kNoPosition || p < shift) ? kNoPosition : static_cast<uint16_t>(p - shift);
    };
    for (uint16_t& p : head)
        rebase(p);
    for (uint16_t& p : lastPair)
        rebase(p);
    for (uint32_t i = shift; i < avail; ++i) {
        uint16_t p = prev[i];
        rebase(p);
        prev[i - shift] = p;
    }
    avail -= shift;
    pos -= shift;
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
