#include "os/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kestrel::os {
namespace {

TEST(FileSystem, ReadsSeeksAndWritesFiles) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    std::string path = dir.write("data.bin", "0123456789");

    auto in = fs->openForReading(path);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->seek(0, SeekOrigin::End), 10);
    EXPECT_EQ(in->seek(-4, SeekOrigin::End), 6);
    char buffer[8] = {};
    EXPECT_EQ(in->read(buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(in->read(buffer, sizeof buffer), 0);
    EXPECT_EQ(in->tell(), 10);
    EXPECT_FALSE(fs->openForReading(dir.file("missing.bin")));

    auto out = fs->createForWriting(dir.file("out.bin"));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->write("abc", 3), 3);
    out.reset();
    EXPECT_EQ(test::TempDir::read(dir.file("out.bin")), "abc");
}

TEST(FileSystem, KeepsDosDateAndTimeExactly) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    std::string path = dir.write("stamped.txt", "x");
    // 1997-06-15 13:45:58: even seconds survive, since DOS time counts in two-second steps.
    DosDateTime stamp{static_cast<uint16_t>((17 << 9) | (6 << 5) | 15),
                      static_cast<uint16_t>((13 << 11) | (45 << 5) | 29)};
    ASSERT_TRUE(fs->setDosDateTime(path, stamp));
    EXPECT_EQ(fs->readDosDateTime(path), stamp);
    EXPECT_FALSE(fs->readDosDateTime(dir.file("missing.txt")));
}

TEST(FileSystem, ReadOnlyAttributeAndDirectories) {
    test::TempDir dir;
    auto fs = makeNativeFileSystem();
    std::string path = dir.write("locked.txt", "x");
    ASSERT_TRUE(fs->setAttributes(path, attributes::ReadOnly));
    EXPECT_TRUE(*fs->readAttributes(path) & attributes::ReadOnly);
    ASSERT_TRUE(fs->setAttributes(path, attributes::Normal));
    EXPECT_FALSE(*fs->readAttributes(path) & attributes::ReadOnly);

    std::string nested = dir.file("a") + "\\b\\c";
    EXPECT_TRUE(fs->createDirectories(nested));
    EXPECT_TRUE(fs->createDirectories(nested)); // already there
    EXPECT_TRUE(*fs->readAttributes(nested) & attributes::Directory);
    EXPECT_FALSE(fs->createDirectories(path + "\\under-a-file"));
}

} // namespace
} // namespace kestrel::os
