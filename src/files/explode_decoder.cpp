// Explode: decoder of the implode format.
//
// The stream
// ----------
// Two header bytes, then a bit stream read least significant bit of each byte first:
//
//   byte 0   literal mode: 0 = literals are plain 8-bit values, 1 = literals use the fixed
//            literal code (short codes for the letters of English text)
//   byte 1   dictionary bits: 4, 5 or 6, the number of low distance bits of a copy longer
//            than 2, and so a window of 1024, 2048 or 4096 bytes
//   then     symbols, each led by a flag bit:
//            0  a literal: 8 plain bits, or one literal code
//            1  a copy: a length code and its extra bits, then the distance: a distance code
//               for the high part of (distance - 1), then its low bits, 2 of them when the
//               length is 2 and the header's 4, 5 or 6 otherwise
//
// All three codes are fixed (implode_codes.h); the stream carries no tables. It ends with the
// length 519 (length symbol 15 with all eight extra bits set), which has no distance. There is
// no stored length and no check value: the end marker is the only way to tell a complete
// stream from a cut one.
//
// Quirks a decoder must keep
// --------------------------
// - Lookahead. Decoders of this format have always held one byte beyond the bits consumed and
//   failed as soon as they could not get it. So consuming bits up to position P (counted from
//   the start of byte 2) succeeds only when the stream holds at least P + 8 bits: a stream cut
//   in the byte after a literal has failed, although the literal itself was whole.
// - The end marker is the exception. Its extra bits usually end in the last byte, so the
//   lookahead byte after them is missing; running out of input while consuming those extra
//   bits is a clean end exactly when they complete the end marker.
// - A first read of 4 bytes or fewer is refused (result 3), even if it holds a whole stream.
//   Then the dictionary byte is checked (result 1), then the literal mode (result 2).
// - Copies may overlap their own output (distance 1 repeats the last byte) and may reach back
//   before the start of the output; the window starts out zero-filled, so those bytes are 0.
//
// Callbacks see what they always saw: every read asks for 2048 bytes and is made only when a
// byte beyond the current input block is needed; output goes out in blocks of exactly 4096
// bytes as soon as 4096 are ready, and once more at the end with the rest (possibly nothing).
//
// How this decoder is fast
// ------------------------
// While the input block has 8 bytes left, a 64-bit bit buffer is refilled by whole 8-byte loads,
// and every symbol (at most 30 bits, plus the 8 lookahead bits) is decoded without a length
// check. A plain literal is the flag and 8 bits: one test and one store, several in a row per
// refill. A coded literal, a copy length (with its extra bits, for the common short lengths)
// and a distance (with its low bits folded into the table value) take one table lookup each.
// Copies whose distance is at least 8 move 8 bytes at a time. The last few bytes of each input
// block, where a whole-word load would run past it, go through a byte-wise path that follows
// the lookahead rule to the bit.
#include "files/explode_decoder.h"

#include "files/implode_codes.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>

namespace kestrel::files {
namespace {

using namespace implode;

// Length table, indexed by the 8 stream bits after the flag. Bits 0-7: bits to consume,
// flag included; bits 8-15: extra bits still to read (0 when they are within the 8 bits);
// bits 16-31: the copy length, or its base + 2 when extra bits are still to be read.
constexpr uint32_t lengthEntry(uint32_t consumed, uint32_t extra, uint32_t length) {
    return consumed | extra << 8 | length << 16;
}

// Distance tables, one per number of low distance bits (2, 4, 5, 6), indexed by 8 stream bits.
// Bits 0-7: the code's length; bits 8-15: bits to consume, low bits included; bits 16-31:
// (high part << low bits) + 1.
constexpr uint32_t distanceEntry(uint32_t codeBits, uint32_t lowBits, uint32_t high) {
    return codeBits | (codeBits + lowBits) << 8 | ((high << lowBits) + 1) << 16;
}

constexpr uint32_t kMaxLiteralBits = 13;

struct DecodeTables {
    std::array<uint32_t, 256> length{};
    std::array<std::array<uint32_t, 256>, 7> distance{}; // by low-bit count; 2, 4, 5, 6 used
    // Coded literals, indexed by 13 stream bits: the byte, and the code length in bits 8-15.
    std::array<uint16_t, 1u << kMaxLiteralBits> literal{};
};

DecodeTables buildTables() {
    DecodeTables t;
    for (uint32_t s = 0; s < 16; ++s) {
        uint32_t n = kLengthBits[s], extra = kLengthExtraBits[s];
        uint32_t length = kLengthBase[s] + kMinMatch;
        if (n + extra <= 8) {
            for (uint32_t x = 0; x < (1u << extra); ++x)
                for (uint32_t i = kLengthCodes[s] | x << n; i < 256; i += 1u << (n + extra))
                    t.length[i] = lengthEntry(1 + n + extra, 0, length + x);
        } else {
            for (uint32_t i = kLengthCodes[s]; i < 256; i += 1u << n)
                t.length[i] = lengthEntry(1 + n, extra, length);
        }
    }
    for (uint32_t lowBits : {2u, 4u, 5u, 6u})
        for (uint32_t s = 0; s < 64; ++s)
            for (uint32_t i = kDistanceCodes[s]; i < 256; i += 1u << kDistanceBits[s])
                t.distance[lowBits][i] = distanceEntry(kDistanceBits[s], lowBits, s);
    for (uint32_t s = 0; s < 256; ++s)
        for (uint32_t i = kLiteralCodes[s]; i < t.literal.size(); i += 1u << kLiteralBits[s])
            t.literal[i] = static_cast<uint16_t>(s | kLiteralBits[s] << 8);
    return t;
}

const DecodeTables& tables() {
    static const DecodeTables t = buildTables();
    return t;
}

inline uint64_t load64(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    } else {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i)
            v = v << 8 | p[i];
        return v;
    }
}

// The bit reader's state. `count` is the number of valid bits in `bits`; while decoding it is at
// least 8, the lookahead byte. Bits above `count` are either zero or the real bits of the byte
// at `next`, so a byte loaded there lands on bits that already agree with it.
struct BitState {
    uint64_t bits;
    uint32_t count;
    const uint8_t* next;
    const uint8_t* end;
};

// Everything the byte-wise path needs besides the bit state.
struct Source {
    uint8_t* buffer;
    ExplodeReadFn read;
    void* user;
};

// Brings in one more byte, reading the next block when this one is used up. False when the
// input has ended.
bool loadByte(BitState& s, const Source& src) {
    if (s.next == s.end) {
        uint32_t size = ExplodeDecoder::kReadSize;
        uint32_t got = src.read(src.buffer, &size, src.user);
        if (got == 0)
            return false;
        s.next = src.buffer;
        s.end = src.buffer + (got < ExplodeDecoder::kReadSize ? got : ExplodeDecoder::kReadSize);
    }
    s.bits |= uint64_t{*s.next++} << s.count;
    s.count += 8;
    return true;
}

// Makes at least n bits valid; false when the input ends first.
bool need(BitState& s, const Source& src, uint32_t n) {
    while (s.count < n)
        if (!loadByte(s, src))
            return false;
    return true;
}

// Consumes n bits, keeping the lookahead byte; false when the input ends first.
bool take(BitState& s, const Source& src, uint32_t n) {
    if (!need(s, src, n + 8))
        return false;
    s.bits >>= n;
    s.count -= n;
    return true;
}

enum class Step { Literal, Copy, End, Error };

struct Symbol {
    Step step;
    uint32_t value; // the literal, or the copy length
    uint32_t distance;
};

// Decodes one symbol byte by byte, near the end of an input block.
template <bool Coded>
[[gnu::noinline]] Symbol slowSymbol(BitState& s, const Source& src, uint32_t dictBits) {
    const DecodeTables& t = tables();
    if (!(s.bits & 1)) {
        uint32_t literal, n;
        if constexpr (Coded) {
            // A code longer than the bits at hand needs the next byte anyway (the lookahead
            // rule wants 8 more), so loading before the code is known reads nothing extra.
            for (;;) {
                uint16_t e = t.literal[(s.bits >> 1) & ((1u << kMaxLiteralBits) - 1)];
                literal = e & 0xFF;
                n = 1 + (e >> 8);
                if (n <= s.count)
                    break;
                if (!loadByte(s, src))
                    return {Step::Error, 0, 0};
            }
        } else {
            if (!need(s, src, 9))
                return {Step::Error, 0, 0};
            literal = (s.bits >> 1) & 0xFF;
            n = 9;
        }
        if (!take(s, src, n))
            return {Step::Error, 0, 0};
        return {Step::Literal, literal, 0};
    }
    // The length table looks at the 8 bits after the flag. Loading them cannot fail a stream
    // that the lookahead rule accepts: the shortest copy needs 1 + 2 + 8 bits.
    if (!need(s, src, 9))
        return {Step::Error, 0, 0};
    uint32_t e = t.length[(s.bits >> 1) & 0xFF];
    uint32_t length = e >> 16;
    uint32_t extra = (e >> 8) & 0xFF;
    if (!take(s, src, e & 0xFF))
        return {Step::Error, 0, 0};
    if (extra) {
        length += static_cast<uint32_t>(s.bits) & ((1u << extra) - 1);
        if (!take(s, src, extra))
            return {length == kEndMarkerLength ? Step::End : Step::Error, 0, 0};
    }
    if (length == kEndMarkerLength)
        return {Step::End, 0, 0};
    uint32_t lowBits = length == kMinMatch ? 2 : dictBits;
    uint32_t d = t.distance[lowBits][s.bits & 0xFF];
    if (!take(s, src, d & 0xFF))
        return {Step::Error, 0, 0};
    uint32_t distance = (d >> 16) + (static_cast<uint32_t>(s.bits) & ((1u << lowBits) - 1));
    if (!take(s, src, lowBits))
        return {Step::Error, 0, 0};
    return {Step::Copy, length, distance};
}

// Copies length bytes from distance back; may write up to 7 bytes past the end.
inline uint8_t* copyMatch(uint8_t* out, uint32_t length, uint32_t distance) {
    const uint8_t* from = out - distance;
    uint8_t* end = out + length;
    if (distance >= 8) {
        do {
            std::memcpy(out, from, 8);
            out += 8;
            from += 8;
        } while (out < end);
        return end;
    }
    if (distance == 1) {
        std::memset(out, out[-1], length);
        return end;
    }
    // A short period: lay down the first repeats byte by byte until they span 8 bytes, then
    // copy whole words from a multiple of the period back, which holds the same bytes.
    uint32_t period = distance;
    while (period < 8)
        period += distance;
    uint8_t* head = out + (length < period ? length : period);
    while (out < head)
        *out++ = *from++;
    from = out - period;
    while (out < end) {
        std::memcpy(out, from, 8);
        out += 8;
        from += 8;
    }
    return end;
}

// Decodes symbols until the end marker (true) or an error (false), writing the output.
template <bool Coded>
bool decodeStream(uint8_t* window, BitState& state, const Source& src, uint32_t dictBits,
                  ExplodeWriteFn write) {
    constexpr uint32_t kHistory = 4096, kBlock = ExplodeDecoder::kWriteSize;
    const DecodeTables& t = tables();
    const uint32_t* lengthTable = t.length.data();
    const uint32_t* distanceN = t.distance[dictBits].data();
    const uint32_t* distance2 = t.distance[2].data();
    const uint32_t dictMask = (1u << dictBits) - 1;
    uint8_t* const flushPoint = window + kHistory + kBlock;
    uint8_t* out = window + kHistory;

    uint64_t bits = state.bits;
    uint32_t count = state.count;
    const uint8_t* next = state.next;
    const uint8_t* end = state.end;
    bool ok;
    for (;;) {
        if (out >= flushPoint) {
            uint32_t n = kBlock;
            write(window + kHistory, &n, src.user);
            std::memmove(window, window + kBlock, static_cast<size_t>(out - window) - kBlock);
            out -= kBlock;
        }
        uint32_t length, distance;
        if (end - next >= 8) [[likely]] {
            bits |= load64(next) << count;
            next += (63 - count) >> 3;
            count |= 56;
            // At least 56 bits: room for any symbol and its lookahead, or several literals.
            if (!(bits & 1)) {
                if constexpr (Coded) {
                    do {
                        uint32_t e = t.literal[(bits >> 1) & ((1u << kMaxLiteralBits) - 1)];
                        *out++ = static_cast<uint8_t>(e);
                        uint32_t n = 1 + (e >> 8);
                        bits >>= n;
                        count -= n;
                    } while (!(bits & 1) && count >= 1 + kMaxLiteralBits + 8);
                } else {
                    // Five literals in a row (45 bits, flags all 0) go out without a test each.
                    constexpr uint64_t kFiveFlags =
                        1 | 1 << 9 | 1 << 18 | 1 << 27 | uint64_t{1} << 36;
                    if (!(bits & kFiveFlags)) {
                        for (int k = 0; k < 5; ++k)
                            out[k] = static_cast<uint8_t>(bits >> (1 + 9 * k));
                        out += 5;
                        bits >>= 45;
                        count -= 45;
                        continue;
                    }
                    do {
                        *out++ = static_cast<uint8_t>(bits >> 1);
                        bits >>= 9;
                        count -= 9;
                    } while (!(bits & 1) && count >= 9 + 8);
                }
                continue;
            }
            uint32_t e = lengthTable[(bits >> 1) & 0xFF];
            length = e >> 16;
            bits >>= e & 0xFF;
            count -= e & 0xFF;
            if (uint32_t extra = (e >> 8) & 0xFF) {
                length += static_cast<uint32_t>(bits) & ((1u << extra) - 1);
                bits >>= extra;
                count -= extra;
                if (length == kEndMarkerLength) {
                    ok = true;
                    break;
                }
            }
            uint32_t d;
            uint32_t low;
            if (length == kMinMatch) {
                d = distance2[bits & 0xFF];
                low = 3;
            } else {
                d = distanceN[bits & 0xFF];
                low = dictMask;
            }
            distance = (d >> 16) + (static_cast<uint32_t>(bits >> (d & 0xFF)) & low);
            bits >>= (d >> 8) & 0xFF;
            count -= (d >> 8) & 0xFF;
        } else {
            BitState s{bits, count, next, end};
            Symbol sym = slowSymbol<Coded>(s, src, dictBits);
            bits = s.bits;
            count = s.count;
            next = s.next;
            end = s.end;
            if (sym.step == Step::Literal) {
                *out++ = static_cast<uint8_t>(sym.value);
                continue;
            }
            if (sym.step != Step::Copy) {
                ok = sym.step == Step::End;
                break;
            }
            length = sym.value;
            distance = sym.distance;
        }
        out = copyMatch(out, length, distance);
    }
    uint32_t rest = static_cast<uint32_t>(out - (window + kHistory));
    write(window + kHistory, &rest, src.user);
    return ok;
}

} // namespace

ExplodeResult ExplodeDecoder::explode(ExplodeReadFn read, ExplodeWriteFn write, void* user) {
    uint32_t size = kReadSize;
    uint32_t got = read(input_, &size, user);
    if (got > kReadSize)
        got = kReadSize;
    if (got < 5)
        return ExplodeResult::InputTooShort;
    uint32_t mode = input_[0];
    uint32_t dictBits = input_[1];
    if (dictBits < kMinDictionaryBits || dictBits > kMaxDictionaryBits)
        return ExplodeResult::BadDictionarySize;
    if (mode != kBinaryLiterals && mode != kCodedLiterals)
        return ExplodeResult::BadLiteralMode;

    std::memset(window_, 0, kHistory);
    BitState state{input_[2], 8, input_ + 3, input_ + got};
    Source src{input_, read, user};
    bool ok = mode == kCodedLiterals ? decodeStream<true>(window_, state, src, dictBits, write)
                                     : decodeStream<false>(window_, state, src, dictBits, write);
    return ok ? ExplodeResult::Done : ExplodeResult::BadData;
}

ExplodeResult explodeBuffer(std::span<const uint8_t> in, std::vector<uint8_t>& out) {
    struct Context {
        std::span<const uint8_t> in;
        std::vector<uint8_t>* out;
    } context{in, &out};
    auto read = [](uint8_t* buffer, uint32_t* size, void* user) -> uint32_t {
        auto* c = static_cast<Context*>(user);
        size_t n = c->in.size() < *size ? c->in.size() : *size;
        if (n > 0)
            std::memcpy(buffer, c->in.data(), n);
        c->in = c->in.subspan(n);
        return static_cast<uint32_t>(n);
    };
    auto write = [](const uint8_t* buffer, uint32_t* count, void* user) {
        auto* c = static_cast<Context*>(user);
        c->out->insert(c->out->end(), buffer, buffer + *count);
    };
    auto decoder = std::make_unique<ExplodeDecoder>();
    return decoder->explode(read, write, &context);
}

} // namespace kestrel::files
