#include "lexical/overwrite_mode.h"

#include <gtest/gtest.h>

namespace kestrel::lexical {
namespace {

TEST(OverwriteWords, AreReadInAnyCaseAndWrittenInCapitals) {
    EXPECT_EQ(overwriteModeFromWord("yes"), OverwriteMode::Yes);
    EXPECT_EQ(overwriteModeFromWord("No"), OverwriteMode::No);
    EXPECT_EQ(overwriteModeFromWord("NEW"), OverwriteMode::New);
    EXPECT_EQ(overwriteModeFromWord("ask"), OverwriteMode::Ask);
    EXPECT_EQ(overwriteModeFromWord("always"), std::nullopt);
    for (OverwriteMode mode :
         {OverwriteMode::No, OverwriteMode::Yes, OverwriteMode::Ask, OverwriteMode::New})
        EXPECT_EQ(overwriteModeFromWord(overwriteModeWord(mode)), mode);
}

} // namespace
} // namespace kestrel::lexical
