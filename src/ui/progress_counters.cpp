#include "ui/progress_counters.h"

#include <algorithm>
#include <limits>

namespace kestrel::ui {

namespace {

// Ticks stop doubling the divisor here, long after their step has rounded to 0.
constexpr int64_t kTickLimit = 0x3FFFFFFF;

int32_t percentOf(int64_t part, int64_t whole) {
    if (whole <= 0 || part >= whole)
        return 100;
    if (part <= 0)
        return 0;
    // part * 100 stays in range below this; above it a hundredth of the whole is exact enough.
    if (part <= std::numeric_limits<int64_t>::max() / 100)
        return int32_t(part * 100 / whole);
    return int32_t(std::min<int64_t>(part / (whole / 100), 100));
}

} // namespace

int32_t bytePercent(int64_t done, int64_t total) {
    return percentOf(done, total);
}

void ProgressCounters::step(bool fileFinished, const ByteProgress& bytes) {
    if (bytes.byteMode()) {
        filePercent_ = bytePercent(bytes.done, bytes.total);
        return;
    }
    if (fileFinished) {
        filesDone_ = filesDone_ < std::numeric_limits<int32_t>::max() ? filesDone_ + 1 : filesDone_;
        tickDivisor_ = 1;
        filePercent_ = percentOf(filesDone_, fileTotal_);
        return;
    }
    if (fileTotal_ <= 0 || int64_t(fileTotal_) * tickDivisor_ >= kTickLimit)
        return;
    tickDivisor_ *= 2;
    filePercent_ += int32_t(100 / (int64_t(fileTotal_) * tickDivisor_));
    filePercent_ = std::min(filePercent_, 100);
}

} // namespace kestrel::ui
