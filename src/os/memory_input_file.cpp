#include "os/memory_input_file.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace kestrel::os {

int32_t MemoryInputFile::read(void* buffer, uint32_t count) {
    if (position_ >= failFrom_)
        return -1;
    const size_t left = bytes_.size() - std::min(position_, bytes_.size());
    const size_t n = std::min<size_t>(
        {count, maxRead_, left, failFrom_ - position_, static_cast<size_t>(INT32_MAX)});
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return static_cast<int32_t>(n);
}

int64_t MemoryInputFile::seek(int64_t offset, SeekOrigin origin) {
    const int64_t base = origin == SeekOrigin::Start     ? 0
                         : origin == SeekOrigin::Current ? static_cast<int64_t>(position_)
                                                         : static_cast<int64_t>(bytes_.size());
    if (base + offset < 0)
        return -1;
    position_ = static_cast<size_t>(base + offset);
    return static_cast<int64_t>(position_);
}

} // namespace kestrel::os
