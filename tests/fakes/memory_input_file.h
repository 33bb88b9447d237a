// An input file over bytes in memory. Reads can be made short (at most `maxRead` bytes a call)
// and can fail from a given offset on, to exercise readers that must cope with both.
#pragma once

#include "os/file_system.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kestrel::test {

class MemoryInputFile : public os::InputFile {
  public:
    explicit MemoryInputFile(std::string bytes, uint32_t maxRead = UINT32_MAX,
                             size_t failFrom = SIZE_MAX)
        : bytes_(std::move(bytes)), maxRead_(maxRead), failFrom_(failFrom) {}

    int32_t read(void* buffer, uint32_t count) override {
        if (position_ >= failFrom_)
            return -1;
        size_t n =
            std::min<size_t>({count, maxRead_, bytes_.size() - std::min(position_, bytes_.size())});
        n = std::min(n, failFrom_ - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        ++reads;
        return static_cast<int32_t>(n);
    }
    int64_t seek(int64_t offset, os::SeekOrigin origin) override {
        const int64_t base = origin == os::SeekOrigin::Start     ? 0
                             : origin == os::SeekOrigin::Current ? int64_t(position_)
                                                                 : int64_t(bytes_.size());
        if (base + offset < 0)
            return -1;
        position_ = size_t(base + offset);
        return int64_t(position_);
    }
    int64_t tell() override { return int64_t(position_); }

    int reads = 0;

  private:
    std::string bytes_;
    uint32_t maxRead_;
    size_t failFrom_;
    size_t position_ = 0;
};

} // namespace kestrel::test
