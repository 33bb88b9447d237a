// How fast the main pass reads a scrambled script: lines per second and megabytes per second,
// from a file in memory, read in whole chunks and one byte per read call.
#include "os/memory_input_file.h"
#include "script/script_codec.h"
#include "script/script_reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

void measure(const char* label, const std::vector<uint8_t>& file, uint32_t maxRead,
             const kestrel::script::ScriptKey& key) {
    kestrel::script::ScriptReader reader;
    reader.setKey(key);
    reader.beginMainPass(std::make_unique<kestrel::os::MemoryInputFile>(
        std::string(file.begin(), file.end()), maxRead));
    const auto start = std::chrono::steady_clock::now();
    std::string line;
    size_t lines = 0;
    while (reader.readScriptLine(line) == 1)
        ++lines;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-22s %9zu lines  %8.1f MB/s  %11.0f lines/s\n", label, lines,
                double(file.size()) / seconds / 1e6, double(lines) / seconds);
}

} // namespace

int main() {
    std::string text;
    for (int i = 0; text.size() < 32'000'000; ++i)
        text += "FILE \"bin\\program" + std::to_string(i) + ".dll\" OVERWRITE=NEW GROUP=1,2\r\n";
    kestrel::script::ScriptKey key;
    key.bytes = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x0F, 0xE1};
    key.count = 77;
    const std::vector<uint8_t> file = kestrel::script::encodeScript(text, key);
    std::printf("script of %.1f MB\n", double(file.size()) / 1e6);
    measure("chunked reads", file, UINT32_MAX, key);
    measure("one byte per read", file, 1, key);
    return 0;
}
