// Memory, display, drives and volumes as the Windows API reports them.
#include "os/native_machine.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

// A letter with no drive behind it on this machine.
char missingLetter() {
    char letter = 'D';
    while (letter < 'Z' && (GetLogicalDrives() & (1u << (letter - 'A'))))
        ++letter;
    return letter;
}

TEST(Win32Machine, MemoryDisplayAndDrives) {
    auto system = makeNativeSystemInfo();
    EXPECT_GT(system->totalPhysicalMemory(), uint64_t{16} << 20);
    const DisplayMode mode = system->displayMode();
    EXPECT_EQ(mode.width, static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(mode.height, static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(mode.colourPlanes, 1u);
    EXPECT_GE(mode.bitsPerPixel, 8u); // Xvfb's 24-bit screen shows as 32 bits under Wine

    auto drives = makeNativeDrives();
    EXPECT_EQ(drives->driveType('c'), DriveType::Fixed);
    EXPECT_EQ(drives->driveType(missingLetter()), DriveType::Missing);
    EXPECT_EQ(drives->driveType('1'), DriveType::Missing);
}

TEST(Win32Volumes, FreeSpaceBeyondTwoGigabytesAndLabelsOnlyWithADisk) {
    auto volumes = makeNativeVolumes();
    constexpr uint64_t kTwoGigabytes = uint64_t{1} << 31;
    // Under Wine drive C: is the host's disk, with more room than a 32-bit product holds; a
    // destination not yet made is measured on the volume that will hold it.
    for (const char* path : {"C:\\", "C:\\Kestrel Not Yet\\Made"}) {
        const auto free = volumes->freeBytes(path);
        ASSERT_TRUE(free) << path;
        EXPECT_GT(*free, kTwoGigabytes) << "needs more than 2 GB free on the host disk";
    }
    EXPECT_EQ(volumes->freeBytes(std::string{missingLetter(), ':', '\\'}), std::nullopt);
    EXPECT_TRUE(volumes->volumeLabel('c'));
    EXPECT_EQ(volumes->volumeLabel(missingLetter()), std::nullopt);
}

} // namespace
} // namespace kestrel::os
