#include "ui/progress_bar.h"
#include "ui/progress_counters.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(ProgressCounters, TicksCreepTowardsTheNextFileAndFilesSetTheirShare) {
    const ByteProgress files{-1, 0, false}; // byte total unknown: files count
    ProgressCounters counters(10);
    std::vector<int32_t> shown;
    for (int i = 0; i < 4; ++i) {
        counters.step(false, files);
        shown.push_back(counters.filePercent());
    }
    counters.step(true, files);
    counters.step(false, files);
    shown.push_back(counters.filePercent());
    EXPECT_EQ(shown, (std::vector<int32_t>{5, 7, 8, 8, 15}));

    // The divisor stops doubling at 2^30; no file total, or more files than it, show 100.
    ProgressCounters one(1), none(0);
    for (int i = 0; i < 40; ++i)
        one.step(false, files);
    EXPECT_EQ(one.tickDivisor(), 1 << 30);
    EXPECT_EQ(one.filePercent(), 97); // 50 + 25 + 12 + 6 + 3 + 1
    none.step(true, files);
    none.step(true, files);
    EXPECT_EQ(none.filePercent(), 100);
}

TEST(ProgressCounters, BytesCountIn64BitsWhateverTheTotal) {
    struct Case {
        int64_t total, done;
        bool countFiles;
        int32_t expected;
    } cases[] = {
        {50, 25, false, 50}, // a total under 100 no longer divides by zero
        {1, 0, false, 0},
        {250, 100, false, 40},
        {3'000'000'000, 1'500'000'000, false, 50},
        {INT64_MAX, INT64_MAX / 3, false, 33},
        {100, 250, false, 100},
        {100, -5, false, 0},
        {100, 50, true, 10}, // files counted instead: one of 10 finished
        {0, 50, false, 10},
    };
    for (const Case& c : cases) {
        ProgressCounters counters(10);
        counters.step(true, ByteProgress{c.total, c.done, c.countFiles});
        EXPECT_EQ(counters.filePercent(), c.expected) << c.total << " " << c.done;
    }
}

TEST(ProgressBar, LabelAndPartsClampThePercentage) {
    struct Case {
        int32_t percent;
        const char* label;
        int32_t split;
    } cases[] = {{0, "  0%", 20}, {7, "  7%", 29}, {250, "100%", 160}, {-3, "  0%", 20}};
    for (const Case& c : cases) {
        EXPECT_EQ(barLabel(c.percent), c.label);
        const BarLayout bar = layoutBar({20, 26, 160, 36}, c.percent, {24, 7});
        EXPECT_EQ(bar.filled, (Rect{20, 26, c.split, 36}));
        EXPECT_EQ(bar.empty, (Rect{c.split, 26, 160, 36}));
        EXPECT_EQ(bar.labelOrigin, (Point{78, 27}));
    }
}

} // namespace
} // namespace kestrel::ui
