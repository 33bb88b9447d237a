// Implode: our encoder of the format that explode_decoder.h reads. It takes input in chunks of
// any size, finds matches in a sliding window with hash chains and lazy evaluation, and pushes
// the compressed bytes to a sink as they are ready. Memory stays bounded (a few hundred KB)
// whatever the input size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace kestrel::files {

enum class ImplodeLiteralMode : uint8_t {
    Binary = 0, // literals as plain 8-bit values: the better choice for anything but text
    Ascii = 1,  // literals through the fixed literal code, which favours English text
};

// Window sizes; the value is the dictionary size in bytes.
enum class ImplodeDictionary : uint16_t {
    Size1024 = 1024,
    Size2048 = 2048,
    Size4096 = 4096,
};

struct ImplodeOptions {
    ImplodeLiteralMode literals = ImplodeLiteralMode::Binary;
    ImplodeDictionary dictionary = ImplodeDictionary::Size4096;
};

class ImplodeEncoder {
  public:
    // Receives compressed bytes in order. Returning false (a write error) stops the encoder:
    // every later write() and finish() returns false and calls the sink no more.
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;

    ImplodeEncoder(ImplodeOptions options, Sink sink);
    ~ImplodeEncoder();
    ImplodeEncoder(const ImplodeEncoder&) = delete;
    ImplodeEncoder& operator=(const ImplodeEncoder&) = delete;

    // Adds input. Compressed bytes may reach the sink before this returns.
    bool write(const uint8_t* data, size_t size);
    bool write(std::span<const uint8_t> data) { return write(data.data(), data.size()); }

    // Encodes what is left, the end marker and the last partial byte, and hands everything to
    // the sink. Afterwards the encoder takes no more input (write and finish return false).
    bool finish();

    // Input bytes taken and compressed bytes produced so far.
    uint64_t bytesIn() const;
    uint64_t bytesOut() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// Compresses a whole buffer (convenience for tools and tests).
std::vector<uint8_t> implodeBuffer(std::span<const uint8_t> in, ImplodeOptions options = {});

} // namespace kestrel::files
