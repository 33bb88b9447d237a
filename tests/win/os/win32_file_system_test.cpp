// The Win32 side of the file boundary, checked against the Windows API itself.
#include "os/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

TEST(Win32FileSystem, DosStampIsTheUtcLastWriteTimeWithoutZoneShift) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    std::string path = dir.write("f.txt", "x");
    DosDateTime stamp{static_cast<uint16_t>((20 << 9) | (1 << 5) | 2),
                      static_cast<uint16_t>((3 << 11) | (4 << 5) | 5)};
    ASSERT_TRUE(fs->setDosDateTime(path, stamp));

    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME written;
    ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
    SYSTEMTIME utc;
    ASSERT_TRUE(FileTimeToSystemTime(&written, &utc));
    EXPECT_EQ(utc.wYear, 2000);
    EXPECT_EQ(utc.wMonth, 1);
    EXPECT_EQ(utc.wDay, 2);
    EXPECT_EQ(utc.wHour, 3);
    EXPECT_EQ(utc.wMinute, 4);
    EXPECT_EQ(utc.wSecond, 10);
}

TEST(Win32FileSystem, ReadingSharesReadAccessOnly) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    std::string path = dir.write("shared.txt", "data");
    auto in = fs->openForReading(path);
    ASSERT_TRUE(in);

    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) {
        CloseHandle(writer);
    }
}

TEST(Win32FileSystem, AttributesAreTheWindowsBits) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    std::string path = dir.write("attrs.txt", "x");
    ASSERT_TRUE(fs->setAttributes(path, attributes::Hidden | attributes::ReadOnly));
    // Wine keeps the archive bit on every file, so only the bits we set are compared.
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & 0x07u,
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(fs->setAttributes(path, attributes::Normal));
}

} // namespace
} // namespace kestrel::os
