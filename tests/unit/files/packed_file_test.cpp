#include "files/little_endian.h"
#include "files/packed_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrel::files {
namespace {

void putU32(std::string& bytes, size_t at, uint32_t value) {
    storeU32(reinterpret_cast<uint8_t*>(bytes.data()) + at, value);
}

// A container built by hand so that tests can damage it: members as (name, bytes, declared
// size), chained in order after a 16-byte preamble.
std::string
handMadeContainer(const std::vector<std::tuple<std::string, std::string, uint32_t>>& members) {
    std::string bytes(kContainerPreambleSize, 'P');
    for (size_t i = 0; i < members.size(); ++i) {
        const auto& [name, data, declared] = members[i];
        size_t at = bytes.size();
        bytes.append(kContainerRecordSize, '\0');
        uint32_t next = uint32_t(at + kContainerRecordSize + data.size());
        putU32(bytes, at, i + 1 < members.size() ? next : 0);
        putU32(bytes, at + 4, 0x20);
        putU32(bytes, at + 8, 0x6000 + uint32_t(i));
        putU32(bytes, at + 12, 0x2345);
        putU32(bytes, at + 16, declared);
        std::memcpy(&bytes[at + 20], name.data(), name.size());
        bytes += data;
    }
    std::string trailer(kContainerTrailerSize, '\0');
    std::memcpy(&trailer[0], kContainerSignature, 8);
    putU32(trailer, 8, kContainerPreambleSize);
    return bytes + trailer;
}

std::string readAll(PackedFile& file) {
    std::string out;
    char buffer[7];
    for (int32_t got; (got = file.read(buffer, sizeof buffer)) > 0;)
        out.append(buffer, size_t(got));
    return out;
}

class PackedFileTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::unique_ptr<os::FileSystem> fs = os::makeNativeFileSystem();
    PackedFileLayer layer{*fs};
};

TEST_F(PackedFileTest, LooksMembersUpByFileNameFirstMatchWins) {
    std::string path = dir.write("setup.pak", handMadeContainer({{"README.TXT", "first", 5},
                                                                 {"Setup.EXE", "program", 7},
                                                                 {"readme.txt", "second", 6}}));
    ASSERT_TRUE(layer.setContainerPath(path));
    auto member = layer.open("C:\\TEMP\\setup.exe");
    ASSERT_TRUE(member);
    EXPECT_TRUE(member->isMember());
    EXPECT_EQ(member->size(), 7u);
    EXPECT_EQ(member->dosTime(), 0x6001);
    EXPECT_EQ(member->dosDate(), 0x2345);
    EXPECT_EQ(member->attributes(), 0x20u);
    EXPECT_EQ(readAll(*member), "program");

    auto readme = layer.open("readme.TXT");
    ASSERT_TRUE(readme);
    EXPECT_EQ(readAll(*readme), "first");

    // Not a member: the ordinary file, with its own length and stamp.
    std::string plain = dir.write("plain.txt", "ordinary");
    auto file = layer.open(plain);
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->isMember());
    EXPECT_EQ(file->size(), 8u);
    EXPECT_EQ(file->dosDate(), fs->readDosDateTime(plain)->date);
    EXPECT_FALSE(layer.open(dir.file("*.txt")));
    EXPECT_FALSE(layer.open(dir.file("missing.txt")));

    layer.switchLookupOff();
    EXPECT_FALSE(layer.open("setup.exe"));
}

TEST_F(PackedFileTest, MemberReadsAndSeeksStayInsideTheMember) {
    std::string data(60, 'x');
    data.replace(50, 10, "0123456789");
    ASSERT_TRUE(layer.setContainerPath(
        dir.write("c.pak", handMadeContainer({{"A.BIN", data, 60}, {"B.BIN", "tail", 4}}))));
    auto member = layer.open("a.bin");
    ASSERT_TRUE(member);
    EXPECT_EQ(member->seek(50, os::SeekOrigin::Start), 50);
    char buffer[100];
    EXPECT_EQ(member->read(buffer, 100), 10);
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    EXPECT_EQ(member->read(buffer, 100), 0);
    EXPECT_EQ(member->seek(-5, os::SeekOrigin::Start), 0);
    EXPECT_EQ(member->seek(5, os::SeekOrigin::End), 60);
    EXPECT_EQ(member->seek(-10, os::SeekOrigin::Current), 50);
    EXPECT_EQ(member->tell(), 50);

    layer.closeContainer();
    EXPECT_EQ(member->read(buffer, 1), -1);
    EXPECT_EQ(member->seek(0, os::SeekOrigin::Start), -1);
}

TEST_F(PackedFileTest, DamagedContainersNeverReadOutOfBounds) {
    std::string plain = dir.write("LOOSE.TXT", "loose file");

    // Any changed signature byte: not a container, names fall through to ordinary files.
    std::string good = handMadeContainer({{"LOOSE.TXT", "member", 6}});
    for (size_t i = 0; i < 8; ++i) {
        std::string bad = good;
        bad[bad.size() - kContainerTrailerSize + i] ^= 0x01;
        PackedFileLayer fresh(*fs);
        ASSERT_TRUE(fresh.setContainerPath(dir.write("bad.pak", bad)));
        auto file = fresh.open(plain);
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->isMember());
        EXPECT_FALSE(fresh.containerOpen());
    }

    // Trailer pointing outside the file; a chain that loops back on itself.
    std::string outside = good;
    putU32(outside, outside.size() - 8, 0x7fffffff);
    std::string loop = handMadeContainer({{"ONE", "1", 1}, {"TWO", "2", 2}});
    putU32(loop, kContainerPreambleSize + kContainerRecordSize + 1 + 0, kContainerPreambleSize);
    for (const std::string& bytes : {outside, loop}) {
        PackedFileLayer fresh(*fs);
        ASSERT_TRUE(fresh.setContainerPath(dir.write("damaged.pak", bytes)));
        auto file = fresh.open(plain);
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->isMember());
    }

    // A size past the end is cut to the bytes that are there.
    PackedFileLayer fresh(*fs);
    ASSERT_TRUE(fresh.setContainerPath(
        dir.write("long.pak", handMadeContainer({{"BIG.BIN", "abc", 1000000}}))));
    auto big = fresh.open("BIG.BIN");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->size(), 3u + kContainerTrailerSize);
    EXPECT_EQ(readAll(*big).substr(0, 3), "abc");

    EXPECT_FALSE(fresh.setContainerPath(std::string(256, 'x')));
}

TEST_F(PackedFileTest, WrittenContainerReadsBack) {
    std::vector<ContainerMemberSource> sources = {
        {"ONE.TXT", dir.write("one.txt", "first file")},
        {"EMPTY.DAT", dir.write("empty.dat", "")},
        {"TWO.TXT", dir.write("two.txt", std::string(100000, 'z'))}};
    {
        auto out = fs->createForWriting(dir.file("all.pak"));
        ContainerWriteError error;
        ASSERT_TRUE(writeContainer(*fs, sources, *out, error)) << error.message;
    }
    ASSERT_TRUE(layer.setContainerPath(dir.file("all.pak")));
    for (const auto& source : sources) {
        auto member = layer.open(source.name);
        ASSERT_TRUE(member) << source.name;
        EXPECT_TRUE(member->isMember());
        EXPECT_EQ(readAll(*member), test::TempDir::read(source.path));
        EXPECT_EQ(member->dosDate(), fs->readDosDateTime(source.path)->date);
    }
}

} // namespace
} // namespace kestrel::files
