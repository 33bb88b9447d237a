#include "os/read_fully.h"

#include <algorithm>
#include <vector>

namespace kestrel::os {

int64_t readFully(InputFile& file, void* buffer, size_t count) {
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    while (total < count) {
        const auto wanted = static_cast<uint32_t>(std::min<size_t>(count - total, UINT32_MAX));
        const int32_t got = file.read(bytes + total, wanted);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(total);
}

std::optional<std::string> readToEnd(InputFile& file) {
    std::string bytes;
    std::vector<char> chunk(65536);
    for (;;) {
        const int32_t got = file.read(chunk.data(), static_cast<uint32_t>(chunk.size()));
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(chunk.data(), static_cast<size_t>(got));
    }
}

} // namespace kestrel::os
