// The program-file reader against the system's own reading of the same files.
#include "support/pe_image.h"
#include "support/windows_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace kestrel::test {
namespace {

// The system's view: the string of table\name from the version information, or nothing.
std::optional<std::string> systemVersionString(const std::string& path, const std::string& table,
                                               const std::string& name) {
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    if (info.empty() || !GetFileVersionInfoA(path.c_str(), 0, info.size(), info.data()))
        return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), ("\\StringFileInfo\\" + table + "\\" + name).c_str(), &value,
                        &length) ||
        !value)
        return std::nullopt;
    return std::string(static_cast<const char*>(value));
}

std::optional<PeVersion> systemFileVersion(const std::string& path) {
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    void* value = nullptr;
    UINT length = 0;
    if (info.empty() || !GetFileVersionInfoA(path.c_str(), 0, info.size(), info.data()) ||
        !VerQueryValueA(info.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return PeVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                     HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

TEST(PeImageOnWindows, AgreesWithTheSystemOnItsOwnFilesAndOnOurs) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string kernel = std::string(system) + "\\kernel32.dll";
    std::string error;

    const auto program = readPeFile(self, error);
    ASSERT_TRUE(program) << error;
    EXPECT_EQ(program->machine, kMachineAmd64);
    EXPECT_FALSE(program->isDll);
    EXPECT_FALSE(program->fileVersion);

    const auto library = readPeFile(kernel, error);
    ASSERT_TRUE(library) << error;
    EXPECT_TRUE(library->isDll);
    ASSERT_TRUE(library->findExport("CreateFileA"));
    EXPECT_TRUE(library->findExport("CreateFileA")->undecorated);

    for (const std::string& path : {kernel, fixtureDll("versioned"), fixtureDll("foreign")}) {
        SCOPED_TRACE(path);
        const auto image = readPeFile(path, error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->fileVersion, systemFileVersion(path));
        ASSERT_FALSE(image->versionStrings.empty());
        for (const auto& [table, values] : image->versionStrings) {
            for (const auto& [name, value] : values)
                EXPECT_EQ(systemVersionString(path, table, name), value) << table << "\\" << name;
        }
    }
}

} // namespace
} // namespace kestrel::test
