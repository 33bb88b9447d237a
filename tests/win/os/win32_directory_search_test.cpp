// Directory tests and file searches over a tree the test makes.
#include "os/native_machine.h"
#include "support/temp_dir.h"
#include "support/windows_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace kestrel::os {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(Win32DirectorySearch, DirectoriesPatternsAndSubdirectoriesOfATree) {
    test::TempDir dir;
    const std::string root = dir.file("tree");
    for (const char* sub : {"b_dir", "a_dir\\inner", "long"})
        fs::create_directories(root + "\\" + sub);
    dir.write("tree\\file1.txt", "1");
    dir.write("tree\\README", "r");
    dir.write("tree\\long\\c.txtx", "x");
    auto search = makeNativeDirectorySearch();

    EXPECT_TRUE(search->directoryExists(root + "\\A_DIR\\"));
    EXPECT_FALSE(search->directoryExists(root + "\\file1.txt"));
    const std::pair<const char*, bool> patterns[] = {
        {"FILE?.TXT", true},        {"README.*", true}, {"long\\*.txtx", true},
        {"long\\*.TXT", false},     // c.txtx answers it only through its short alias
        {"a_dir\\inner\\*", false}, // "." and ".." are no entries
        {"missing\\*", false},
    };
    for (const auto& [pattern, found] : patterns)
        EXPECT_EQ(search->anyEntryMatches(root + "\\" + pattern), found) << pattern;

    Names listed; // in the file system's own order
    for (const auto& entry : fs::directory_iterator(root)) {
        if (entry.is_directory())
            listed.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(search->subdirectories(root + "\\"), listed);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (Names{"a_dir", "b_dir", "long"}));
    EXPECT_EQ(search->subdirectories(root + "\\a_dir\\inner"), Names{});
    EXPECT_EQ(search->subdirectories(root + "\\file1.txt"), std::nullopt);

    // Relative names are taken from the current directory.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(root.c_str()));
    EXPECT_TRUE(search->anyEntryMatches("*.txt"));
    EXPECT_EQ(search->subdirectories("a_dir"), Names{"inner"});
    SetCurrentDirectoryA(previous);
}

// Wine shows the links of a prefix's dosdevices folder (c: -> ../drive_c, z: -> /) as
// directories that are reparse points; following z: would walk into itself for ever.
TEST(Win32DirectorySearch, LinkedDirectoriesAreLeftOutSoAWalkEnds) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        GTEST_SKIP() << "not under Wine";
    const std::string devices = test::windowsPath(std::string(prefix) + "/dosdevices");
    ASSERT_EQ(GetFileAttributesA((devices + "\\z:").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT,
              DWORD{FILE_ATTRIBUTE_REPARSE_POINT});
    EXPECT_EQ(makeNativeDirectorySearch()->subdirectories(devices), Names{});
}

} // namespace
} // namespace kestrel::os
