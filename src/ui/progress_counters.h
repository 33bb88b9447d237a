// What the progress dialog's file bar shows. With a known byte total the bar is the share of
// bytes installed; otherwise each finished file sets it to its share of the file count, and
// between files every processed block (a tick) creeps it on by half of what is left of the
// next file's share, until the step rounds to nothing: with 10 files, 5, 7, 8, 8 ... percent.
#pragma once

#include <cstdint>

namespace kestrel::ui {

// The installation's byte count. Progress counts bytes when the total is known (1 or more)
// and files are not asked for instead.
struct ByteProgress {
    int64_t total = -1; // -1 until known
    int64_t done = 0;
    bool countFiles = false; // byte mode off

    bool byteMode() const { return !countFiles && total >= 1; }
};

// The percentage bytes done are of the total, 0..100 (100 once done reaches the total).
int32_t bytePercent(int64_t done, int64_t total);

class ProgressCounters {
  public:
    explicit ProgressCounters(int32_t fileTotal) : fileTotal_(fileTotal) {}

    // One progress step: a finished file, or a tick when fileFinished is false. In byte mode
    // only the bytes count.
    void step(bool fileFinished, const ByteProgress& bytes);
    // What the browser's download display says, as it says it; drawn clamped to 0..100.
    void setDownloadPercent(int32_t percent) { downloadPercent_ = percent; }

    int32_t filePercent() const { return filePercent_; }
    int32_t downloadPercent() const { return downloadPercent_; }
    int32_t fileTotal() const { return fileTotal_; }
    int32_t filesDone() const { return filesDone_; }
    int32_t tickDivisor() const { return tickDivisor_; }

  private:
    int32_t fileTotal_;
    int32_t filePercent_ = 0;
    int32_t filesDone_ = 0;
    int32_t tickDivisor_ = 1;
    int32_t downloadPercent_ = 0;
};

} // namespace kestrel::ui
