// FileVersion texts of the small DLLs the build makes with version information.
#include "os/native_machine.h"
#include "support/windows_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

TEST(Win32FileVersionReader, CodePageTableFirstThenUnicodeThenTheFilesOwnLanguages) {
    auto versions = makeNativeFileVersionReader();
    // US English code page 1252 wins over US English Unicode ("9.9").
    EXPECT_EQ(versions->versionString(test::fixtureDll("versioned")), "1.10");
    // An empty value counts as none, so the Unicode table's value is taken.
    EXPECT_EQ(versions->versionString(test::fixtureDll("unicode_only")), "2.5");
    // Only a German table, listed in the translations; longer than any fixed buffer.
    EXPECT_EQ(versions->versionString(test::fixtureDll("foreign")),
              "4.0.0.1 (built from the release branch on a long winter night)");

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(versions->versionString(self), std::nullopt); // no version information
    EXPECT_EQ(versions->versionString(test::fixtureDll("missing")), std::nullopt);
}

} // namespace
} // namespace kestrel::os
