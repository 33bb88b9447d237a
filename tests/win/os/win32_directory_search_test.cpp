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

TEST(Win32DirectorySearch, DirectoriesPatternsAndSubdirectoriesOfATree) {
    test::TempDir dir;
    const std::string root = dir.file("tree");
    for (const char* sub : {"b_dir", "a_dir\\inner", "only_long"})
        fs::create_directories(root + "\\" + sub);
    dir.write("tree\\file1.txt", "1");
    dir.write("tree\\README", "r");
    dir.write("tree\\only_long\\c.txtx", "x");
    auto search = makeNativeDirectorySearch();

    EXPECT_TRUE(search->directoryExists(root));
    EXPECT_TRUE(search->directoryExists(root + "\\"));
    EXPECT_TRUE(search->directoryExists(root + "\\A_DIR\\inner\\"));
    EXPECT_FALSE(search->directoryExists(root + "\\file1.txt"));
    EXPECT_FALSE(search->directoryExists(root + "\\missing\\"));
    EXPECT_FALSE(search->directoryExists(""));

    const struct {
        const char* pattern;
        bool found;
    } patterns[] = {
        {"*.txt", true},
        {"FILE?.TXT", true},
        {"file1.txt", true},
        {"README.*", true},
        {"*.", true},
        {"a_dir", true},
        {"only_long\\*.TXT", false}, // c.txtx answers *.TXT only through its short alias
        {"only_long\\*.txtx", true},
        {"a_dir\\inner\\*", false}, // "." and ".." are no entries
        {"a_dir\\inner\\*.*", false},
        {"missing\\*", false},
        {"file2.txt", false},
    };
    for (const auto& p : patterns) {
        EXPECT_EQ(search->anyEntryMatches(root + "\\" + p.pattern), p.found) << p.pattern;
    }

    // Subdirectories in the order the file system lists them, files and dot entries left out.
    std::vector<std::string> listed;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (entry.is_directory())
            listed.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(search->subdirectories(root), listed);
    EXPECT_EQ(search->subdirectories(root + "\\"), listed);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"a_dir", "b_dir", "only_long"}));
    EXPECT_EQ(search->subdirectories(root + "\\a_dir"), std::vector<std::string>{"inner"});
    EXPECT_EQ(search->subdirectories(root + "\\a_dir\\inner"), std::vector<std::string>{});
    EXPECT_EQ(search->subdirectories(root + "\\missing"), std::nullopt);
    EXPECT_EQ(search->subdirectories(root + "\\file1.txt"), std::nullopt);

    // Relative names are taken from the current directory.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(root.c_str()));
    EXPECT_TRUE(search->directoryExists("a_dir"));
    EXPECT_TRUE(search->anyEntryMatches("*.txt"));
    EXPECT_EQ(search->subdirectories("a_dir"), std::vector<std::string>{"inner"});
    SetCurrentDirectoryA(previous);
}

// Wine shows the links of a prefix's dosdevices folder (c: -> ../drive_c, z: -> /) as
// directories that are reparse points; following z: would walk into itself for ever.
TEST(Win32DirectorySearch, LinkedDirectoriesAreLeftOutSoAWalkEnds) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        GTEST_SKIP() << "not under Wine";
    const std::string devices = test::windowsPath(std::string(prefix) + "/dosdevices");
    std::vector<std::string> linked;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((devices + "\\*").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            linked.push_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    ASSERT_NE(std::find(linked.begin(), linked.end(), "z:"), linked.end());

    auto search = makeNativeDirectorySearch();
    const auto subdirectories = search->subdirectories(devices);
    ASSERT_TRUE(subdirectories);
    for (const std::string& name : *subdirectories)
        EXPECT_TRUE(std::find(linked.begin(), linked.end(), name) == linked.end()) << name;
}

} // namespace
} // namespace kestrel::os
