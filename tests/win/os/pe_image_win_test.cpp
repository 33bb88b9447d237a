// The program-file reader on files the build and the system made, against the system's own
// reading of their version information.
#include "os/native_machine.h"
#include "support/pe_image.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::test {
namespace {

TEST(PeImageOnWindows, ReadsThisProgramAndASystemDll) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char systemDirectory[MAX_PATH];
    GetSystemDirectoryA(systemDirectory, MAX_PATH);
    const std::string kernel = std::string(systemDirectory) + "\\kernel32.dll";
    std::string error;

    const auto program = readPeFile(self, error);
    ASSERT_TRUE(program) << error;
    EXPECT_EQ(program->machine, kMachineAmd64);
    EXPECT_FALSE(program->isDll);
    EXPECT_TRUE(program->versionStrings.empty());

    const auto library = readPeFile(kernel, error);
    ASSERT_TRUE(library) << error;
    EXPECT_TRUE(library->isDll);
    ASSERT_TRUE(library->findExport("CreateFileA"));
    EXPECT_TRUE(library->findExport("CreateFileA")->undecorated);
    auto fileVersion = library->versionString("040904E4", "FileVersion");
    if (!fileVersion)
        fileVersion = library->versionString("040904B0", "FileVersion");
    EXPECT_EQ(fileVersion, os::makeNativeFileVersionReader()->versionString(kernel));
}

} // namespace
} // namespace kestrel::test
