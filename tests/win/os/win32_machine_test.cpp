// Memory, display, drives and volumes as the Windows API reports them.
#include "os/native_machine.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

// A letter with no drive behind it on this machine.
char missingLetter() {
    const DWORD present = GetLogicalDrives();
    for (char letter = 'D'; letter <= 'Y'; ++letter) {
        if (!(present & (1u << (letter - 'A'))))
            return letter;
    }
    return 0;
}

TEST(Win32SystemInfo, MemoryAndTheScreensDisplayMode) {
    auto system = makeNativeSystemInfo();
    EXPECT_GT(system->totalPhysicalMemory(), uint64_t{16} << 20);
    const DisplayMode mode = system->displayMode();
    EXPECT_EQ(mode.width, static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(mode.height, static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(mode.colourPlanes, 1u);
    EXPECT_GE(mode.bitsPerPixel, 8u); // Xvfb's 24-bit screen shows as 32 bits under Wine
    EXPECT_LE(mode.bitsPerPixel, 32u);
}

TEST(Win32Drives, KindOfDriveBehindEachLetter) {
    auto drives = makeNativeDrives();
    EXPECT_EQ(drives->driveType('C'), DriveType::Fixed);
    EXPECT_EQ(drives->driveType('c'), DriveType::Fixed);
    ASSERT_NE(missingLetter(), 0);
    EXPECT_EQ(drives->driveType(missingLetter()), DriveType::Missing);
    EXPECT_EQ(drives->driveType('1'), DriveType::Missing);
}

TEST(Win32Volumes, FreeSpaceBeyondTwoGigabytesAndLabelsOnlyWithADisk) {
    auto volumes = makeNativeVolumes();
    constexpr uint64_t kTwoGigabytes = uint64_t{1} << 31;
    // Under Wine drive C: is the host's disk, which has more room than a 32-bit product holds.
    const auto root = volumes->freeBytes("C:\\");
    ASSERT_TRUE(root);
    EXPECT_GT(*root, kTwoGigabytes) << "needs more than 2 GB free on the host disk";
    // A destination not yet created is measured on the volume that will hold it.
    const auto planned = volumes->freeBytes("C:\\Kestrel Not Yet\\Made\\Here");
    ASSERT_TRUE(planned);
    EXPECT_GT(*planned, kTwoGigabytes);

    const std::string missing{missingLetter(), ':', '\\'};
    EXPECT_EQ(volumes->freeBytes(missing), std::nullopt);
    EXPECT_EQ(volumes->freeBytes(""), std::nullopt);
    EXPECT_TRUE(volumes->volumeLabel('C'));
    EXPECT_TRUE(volumes->volumeLabel('c'));
    EXPECT_EQ(volumes->volumeLabel(missingLetter()), std::nullopt);
    EXPECT_EQ(volumes->volumeLabel('?'), std::nullopt);
}

} // namespace
} // namespace kestrel::os
