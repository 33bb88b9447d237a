// Reads lines (the end line "END" added) into a text store, as the block commands do, in Arial.
// Each character measures as 2 base widths, so a line of n characters is 2n - 6 wide.
#pragma once

#include "fakes/fixed_width_measure.h"
#include "fakes/line_list_source.h"
#include "ui/screen_block.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

inline ui::TextStore storeBlock(std::vector<std::string> lines) {
    lines.push_back("END");
    LineListSource source(std::move(lines));
    FixedWidthMeasure measure(16, 8);
    ui::TextStore store;
    EXPECT_TRUE(ui::readScreenBlock(source, "END", {"Arial"}, measure, store).ok());
    return store;
}

} // namespace kestrel::test
