// Fuzzes the explode decoder with arbitrary streams at full speed: every input is decoded in
// blocks and byte-wise, and the two must agree (explode_runs.h). The round trip through the
// encoder has a target of its own, explode_roundtrip_fuzz.
#include "explode_runs.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto decoder = std::make_unique<ExplodeDecoder>();
    ExplodeResult result;
    decodeBothWays(data, size, *decoder, result);
    return 0;
}
