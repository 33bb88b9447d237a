// The file operations the rewrites and the install log use, on the platform's own file system
// (POSIX natively, the Windows API under Wine).
#include "os/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrel::os {
namespace {

TEST(FileOperations, UniqueFilesAppendAndMovesThatNeverOverwriteByAccident) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    const std::string folder = dir.file("");
    std::optional<UniqueFile> first = fs->createUniqueFile(folder, "~KST");
    std::optional<UniqueFile> second = fs->createUniqueFile(folder, "~KST");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->path, second->path);
    EXPECT_EQ(first->path, dir.file("~KST0000.tmp"));
    EXPECT_EQ(first->file->write("new", 3), 3);
    first->file.reset();
    second->file.reset();
    EXPECT_FALSE(fs->createUniqueFile(dir.file("missing"), "~KST"));

    auto log = fs->openForAppend(dir.file("install.log"));
    ASSERT_TRUE(log);
    EXPECT_EQ(log->write("a\n", 2), 2);
    log = fs->openForAppend(dir.file("install.log"));
    EXPECT_EQ(log->write("b\n", 2), 2);
    log.reset();
    EXPECT_EQ(test::TempDir::read(dir.file("install.log")), "a\nb\n");

    const std::string target = dir.write("target.txt", "old");
    EXPECT_FALSE(fs->moveFile(first->path, target));
    EXPECT_TRUE(fs->copyFile(target, dir.file("target.bak")));
    EXPECT_TRUE(fs->replaceFile(first->path, target));
    EXPECT_EQ(test::TempDir::read(target), "new");
    EXPECT_EQ(test::TempDir::read(dir.file("target.bak")), "old");
    EXPECT_FALSE(fs->readAttributes(first->path));
    EXPECT_TRUE(fs->moveFile(second->path, dir.file("moved.txt")));
    EXPECT_TRUE(fs->deleteFile(dir.file("moved.txt")));
    EXPECT_FALSE(fs->deleteFile(dir.file("moved.txt")));
}

TEST(FileOperations, DirectoriesAndFileIdentity) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    EXPECT_TRUE(fs->createDirectory(dir.file("sub")));
    EXPECT_FALSE(fs->createDirectory(dir.file("sub")));
    EXPECT_FALSE(fs->createDirectory(dir.file("a/b")));
    const std::string file = dir.write("A long name.text", "x");
    dir.write("other", "y");

    std::optional<std::vector<DirectoryEntry>> entries = fs->listDirectory(dir.file(""));
    ASSERT_TRUE(entries);
    std::sort(entries->begin(), entries->end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "A long name.text");
    EXPECT_EQ((*entries)[2].name, "sub");
    EXPECT_TRUE((*entries)[2].attributes & attributes::Directory);
    EXPECT_FALSE((*entries)[0].attributes & attributes::Directory);
    EXPECT_FALSE(fs->listDirectory(dir.file("missing")));

    EXPECT_TRUE(fs->sameFile(file, dir.file("sub/../A long name.text")));
    EXPECT_FALSE(fs->sameFile(file, dir.file("other")));
    EXPECT_FALSE(fs->sameFile(file, dir.file("missing")));
    std::optional<std::string> current = fs->currentDirectory();
    ASSERT_TRUE(current);
    EXPECT_TRUE(fs->readAttributes(*current).value_or(0) & attributes::Directory);
}

} // namespace
} // namespace kestrel::os
