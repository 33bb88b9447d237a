// Explode: the decoder of implode-compressed data, the format of every member of a packed
// archive. The format itself (header, bit order, the three fixed codes, the end marker) is
// described at the top of explode_decoder.cpp; the code tables are in implode_codes.h.
//
// The decoder knows nothing of files. It pulls compressed bytes through a read callback,
// always asking for 2048 bytes, and pushes decoded bytes through a write callback in blocks
// of exactly 4096 bytes followed by one final short write (possibly of 0 bytes). All of its
// state lives in the ExplodeDecoder object, which the caller provides; it allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::files {

enum class ExplodeResult : int32_t {
    Done = 0,              // the end marker was decoded; all output has been written
    BadDictionarySize = 1, // the dictionary-size byte is not 4, 5 or 6
    BadLiteralMode = 2,    // the literal-mode byte is neither 0 nor 1
    InputTooShort = 3,     // the first read delivered 4 bytes or fewer
    BadData = 4,           // the input ended before the end marker, or a distance was cut off
};

// Places up to *size bytes (set to 2048 before every call) into buffer and returns how many it
// placed; 0 means no more input can be had. Returning more than *size counts as *size.
using ExplodeReadFn = uint32_t (*)(uint8_t* buffer, uint32_t* size, void* user);

// Takes *count decoded bytes from buffer. The return value is not used: a caller that must stop
// (a write error) remembers that in its own state, ignores later writes and lets its read
// callback return 0, which ends decoding with BadData at the next refill.
using ExplodeWriteFn = void (*)(const uint8_t* buffer, uint32_t* count, void* user);

class ExplodeDecoder {
  public:
    static constexpr uint32_t kReadSize = 2048;
    static constexpr uint32_t kWriteSize = 4096;

    // Decodes one stream from its header to its end marker. The bytes decoded before an error
    // have been written when an error is returned. A decoder may be reused for any number of
    // streams, one at a time; copies that reach back before the start of a stream read zeros.
    ExplodeResult explode(ExplodeReadFn read, ExplodeWriteFn write, void* user);

  private:
    // Window: 4096 bytes of history, then the bytes decoded since the last write, which may run
    // up to one maximal copy (518 bytes) past the flush point, plus room for copies made in
    // whole words that overrun their end.
    static constexpr uint32_t kHistory = 4096;
    static constexpr uint32_t kFlushAt = kHistory + kWriteSize;
    static constexpr uint32_t kWindowSize = kFlushAt + 518 + 64;
    // Input: one read's worth plus zero padding so that whole-word loads near its end stay
    // inside the array.
    static constexpr uint32_t kInputSize = kReadSize + 16;

    alignas(64) uint8_t window_[kWindowSize];
    alignas(8) uint8_t input_[kInputSize];
};

// Decodes a whole compressed buffer and appends the result to out (convenience for tools and
// tests; the decoder itself runs on the heap here).
ExplodeResult explodeBuffer(std::span<const uint8_t> in, std::vector<uint8_t>& out);

} // namespace kestrel::files
