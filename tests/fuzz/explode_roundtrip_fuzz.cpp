// Fuzzes explode and implode together: whatever decodes cleanly is imploded again, in the
// stream's own literal mode and window, and must come back intact. Outputs up to 64 KB are
// re-imploded: eight windows' worth covers every wrap of the dictionary, and the encoder's time
// grows with the output, so larger ones would only slow the search (explode_fuzz decodes them).
#include "explode_runs.h"
#include "files/implode_encoder.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto decoder = std::make_unique<ExplodeDecoder>();
    ExplodeResult result;
    const Run whole = decodeBothWays(data, size, *decoder, result);
    if (result == ExplodeResult::Done && whole.output.size() <= (64u << 10)) {
        ImplodeOptions options;
        options.literals = data[0] ? ImplodeLiteralMode::Ascii : ImplodeLiteralMode::Binary;
        options.dictionary = static_cast<ImplodeDictionary>(64u << data[1]);
        std::vector<uint8_t> packed = implodeBuffer(whole.output, options);
        std::vector<uint8_t> back;
        if (explodeBuffer(packed, back) != ExplodeResult::Done || back != whole.output)
            std::abort();
    }
    return 0;
}
