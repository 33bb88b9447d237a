// Bytes held in memory, read like a file: a script kst has read already, test data, fuzz input.
// Reads may be made short (at most maxRead bytes a call) and may fail from an offset on, so
// that readers can be shown the short reads and failing disks that real files give.
#pragma once

#include "os/file_system.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel::os {

class MemoryInputFile final : public InputFile {
  public:
    explicit MemoryInputFile(std::string bytes, uint32_t maxRead = UINT32_MAX,
                             size_t failReadsFrom = SIZE_MAX)
        : bytes_(std::move(bytes)), maxRead_(maxRead), failFrom_(failReadsFrom) {}

    int32_t read(void* buffer, uint32_t count) override;
    // A position past the end is kept; reads there give 0 bytes.
    int64_t seek(int64_t offset, SeekOrigin origin) override;
    int64_t tell() override { return static_cast<int64_t>(position_); }

  private:
    std::string bytes_;
    uint32_t maxRead_;
    size_t failFrom_;
    size_t position_ = 0;
};

} // namespace kestrel::os
