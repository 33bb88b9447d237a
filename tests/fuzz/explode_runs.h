// The decoding half of the explode fuzz targets: a stream decoded once in blocks as large as
// the decoder asks for and once a byte at a time after the first five, which sends nearly
// every symbol through the byte-wise path instead of the whole-word one. Both must give the
// same result code and the same output, delivered in 4096-byte writes and one final shorter
// write; any difference aborts.
#pragma once

#include "files/explode_decoder.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace kestrel::files;

struct Run {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool byteWise;
    std::vector<uint8_t> output;
    std::vector<uint32_t> writes;
};

uint32_t readInput(uint8_t* buffer, uint32_t* size, void* user) {
    auto* r = static_cast<Run*>(user);
    if (*size != ExplodeDecoder::kReadSize)
        std::abort();
    size_t n = r->size - r->at;
    if (n > *size)
        n = *size;
    if (r->byteWise && n > 1)
        n = r->at == 0 ? (n < 5 ? n : 5) : 1;
    std::memcpy(buffer, r->data + r->at, n);
    r->at += n;
    return static_cast<uint32_t>(n);
}

void writeOutput(const uint8_t* buffer, uint32_t* count, void* user) {
    auto* r = static_cast<Run*>(user);
    r->writes.push_back(*count);
    r->output.insert(r->output.end(), buffer, buffer + *count);
}

ExplodeResult decode(ExplodeDecoder& decoder, Run& run) {
    ExplodeResult result = decoder.explode(readInput, writeOutput, &run);
    if (static_cast<int32_t>(result) < 0 || static_cast<int32_t>(result) > 4)
        std::abort();
    bool decoded = result == ExplodeResult::Done || result == ExplodeResult::BadData;
    if (!decoded && !run.writes.empty())
        std::abort();
    if (decoded) {
        if (run.writes.empty() || run.writes.back() >= ExplodeDecoder::kWriteSize)
            std::abort();
        for (size_t i = 0; i + 1 < run.writes.size(); ++i)
            if (run.writes[i] != ExplodeDecoder::kWriteSize)
                std::abort();
    }
    return result;
}

// Decodes data both ways and aborts unless they agree; the whole-block run is returned.
inline Run decodeBothWays(const uint8_t* data, size_t size, ExplodeDecoder& decoder,
                          ExplodeResult& result) {
    Run whole{data, size, 0, false, {}, {}};
    Run byteWise{data, size, 0, true, {}, {}};
    result = decode(decoder, whole);
    if (decode(decoder, byteWise) != result || byteWise.output != whole.output)
        std::abort();
    return whole;
}

} // namespace
