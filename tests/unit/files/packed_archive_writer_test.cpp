#include "fakes/writable_memory_file_system.h"
#include "files/packed_archive_format.h"
#include "files/packed_archive_writer.h"
#include "support/noise.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrel::files {
namespace {

const uint8_t* bytesOf(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

using test::noise;

TEST(PackedArchiveNames, ContinuationVolumesFollowTheFirstName) {
    EXPECT_EQ(continuationVolumeName("DEMO.ARC", 1), "DEMO.A01");
    EXPECT_EQ(continuationVolumeName("demo.arc", 99), "demo.a99");
    EXPECT_EQ(continuationVolumeName("DEMO.ARC", 100), std::nullopt);
    EXPECT_EQ(continuationVolumeName("DATA", 7), "DATA.007");
    EXPECT_EQ(continuationVolumeName("DATA", 1000), std::nullopt);

    EXPECT_EQ(volumeNameProblem("DEMO.ARC"), "");
    EXPECT_EQ(volumeNameProblem("SETUPDAT"), "");
    EXPECT_NE(volumeNameProblem("SETUPDATA.ARC"), "");
    EXPECT_NE(volumeNameProblem("DEMO.ARCH"), "");
    EXPECT_NE(volumeNameProblem("DE.MO.ARC"), "");
    EXPECT_NE(volumeNameProblem(".ARC"), "");
}

TEST(PackedArchiveNames, TextIsToldFromBinary) {
    std::string text = "Read me first.\r\nThen install.\tDone\n";
    EXPECT_TRUE(looksLikeText({bytesOf(text), text.size()}));
    std::string withZero = text + '\0';
    EXPECT_FALSE(looksLikeText({bytesOf(withZero), withZero.size()}));
    std::string binary = noise(400, 1);
    binary.erase(std::remove(binary.begin(), binary.end(), '\0'), binary.end());
    EXPECT_FALSE(looksLikeText({bytesOf(binary), binary.size()}));
}

TEST(PackedArchiveWriter, RefusesMemberNamesThatLeaveTheDestination) {
    test::WritableMemoryFileSystem fs;
    PackedArchiveWriter writer(fs, {});
    ArchiveWriteError error;
    for (const char* name : {"..\\x", "a/../../x", "C:\\x", "\\x", "dir\\", ""})
        EXPECT_FALSE(writer.addMember("in", name, error)) << name;
    EXPECT_FALSE(writer.addMember("in", std::string(136, 'n'), error));
    EXPECT_TRUE(writer.addMember("in", std::string(135, 'n'), error));
    EXPECT_TRUE(writer.addMember("in", "sub/..x/file", error));
}

// A big member whose stored bytes end so near a volume's end that the next member header
// would not fit behind them.
std::string bigMemberEndingNearVolumeEnd(uint32_t volumeSize) {
    const uint32_t room = volumeSize - archive::kVolumeHeaderSize;
    for (size_t size = 2000;; size += 7) {
        std::string data = noise(size, 7);
        size_t stored = implodeBuffer({bytesOf(data), data.size()}).size();
        size_t end = (archive::kMemberHeaderSize + stored) % room;
        if (end != 0 && room - end < archive::kMemberHeaderSize)
            return data;
    }
}

TEST(PackedArchiveWriter, SplitsVolumesWithoutSplittingMemberHeaders) {
    test::WritableMemoryFileSystem fs;
    fs.add("src\\big", bigMemberEndingNearVolumeEnd(1000), {0x5A21, 0x6000});
    fs.add("src\\small", "tiny file\n");
    fs.add("src\\empty", "");
    PackedArchiveOptions options;
    options.maxVolumeSize = 1000;
    options.literals = LiteralChoice::Binary;
    PackedArchiveWriter writer(fs, options);
    ArchiveWriteError error;
    ASSERT_TRUE(writer.addMember("src\\big", "data/big.bin", error));
    ASSERT_TRUE(writer.addMember("src\\small", "small.txt", error));
    ASSERT_TRUE(writer.addMember("src\\empty", "empty", error));
    ASSERT_TRUE(writer.write("out\\DEMO.ARC", error)) << error.message;

    const std::vector<std::string>& volumes = writer.volumePaths();
    ASSERT_GE(volumes.size(), 3u);
    EXPECT_EQ(volumes[1], "out\\DEMO.A01");
    for (size_t i = 0; i < volumes.size(); ++i) {
        const std::string& bytes = fs.files.at(volumes[i]).bytes;
        ASSERT_LE(bytes.size(), 1000u);
        archive::VolumeHeader header = archive::loadVolumeHeader(bytesOf(bytes));
        EXPECT_EQ(header.archiveMark, 116);
        EXPECT_EQ(header.volumeMark, i == 0 ? 116 : 117);
        EXPECT_EQ(header.memberCount, 3);
        EXPECT_EQ(header.nextName.text, i + 1 < volumes.size() ? volumes[i + 1].substr(4) : "");
    }

    // Walk the volumes as a reader would: every header whole in one volume, stored bytes
    // running on, every volume used to its last byte.
    std::vector<archive::MemberHeader> members;
    size_t volume = 0, at = archive::kVolumeHeaderSize;
    bool endedEarly = false;
    for (int m = 0; m < 3; ++m) {
        const std::string* bytes = &fs.files.at(volumes[volume]).bytes;
        if (bytes->size() - at < archive::kMemberHeaderSize) {
            ASSERT_EQ(at, bytes->size()) << "header split at volume " << volume;
            endedEarly |= bytes->size() < 1000;
            bytes = &fs.files.at(volumes[++volume]).bytes;
            at = archive::kVolumeHeaderSize;
        }
        members.push_back(archive::loadMemberHeader(bytesOf(*bytes) + at));
        at += archive::kMemberHeaderSize;
        for (uint32_t left = members.back().storedLength; left > 0;) {
            if (at == bytes->size()) {
                bytes = &fs.files.at(volumes[++volume]).bytes;
                at = archive::kVolumeHeaderSize;
            }
            uint32_t take = std::min<uint32_t>(left, uint32_t(bytes->size() - at));
            at += take;
            left -= take;
        }
    }
    EXPECT_TRUE(endedEarly);
    EXPECT_EQ(volume, volumes.size() - 1);
    EXPECT_EQ(at, fs.files.at(volumes.back()).bytes.size());
    EXPECT_EQ(members[0].name.text, "data\\big.bin");
    EXPECT_EQ(members[0].date, 0x5A21);
    EXPECT_EQ(members[0].time, 0x6000);
    EXPECT_EQ(members[2].name.text, "empty");
    EXPECT_EQ(members[2].storedLength, 0u);
}

TEST(PackedArchiveWriter, ReportsWhatCannotBeWritten) {
    test::WritableMemoryFileSystem fs;
    fs.add("in", noise(5000, 3));
    PackedArchiveOptions options;
    options.maxVolumeSize = 1000;
    ArchiveWriteError error;

    PackedArchiveWriter longName(fs, options);
    ASSERT_TRUE(longName.addMember("in", "in", error));
    EXPECT_FALSE(longName.write("LONGNAME1.ARC", error));
    EXPECT_EQ(error.file, "LONGNAME1.ARC");

    PackedArchiveWriter missing(fs, options);
    ASSERT_TRUE(missing.addMember("nowhere", "in", error));
    EXPECT_FALSE(missing.write("OUT.ARC", error));
    EXPECT_EQ(error.file, "nowhere");

    fs.uncreatable.insert("OUT.A02");
    PackedArchiveWriter blocked(fs, options);
    ASSERT_TRUE(blocked.addMember("in", "in", error));
    EXPECT_FALSE(blocked.write("OUT.ARC", error));
    EXPECT_EQ(error.file, "OUT.A02");

    fs.spaceLeft = 1500;
    PackedArchiveWriter full(fs, options);
    ASSERT_TRUE(full.addMember("in", "in", error));
    error = {};
    EXPECT_FALSE(full.write("FULL.ARC", error));
    EXPECT_EQ(error.file, "FULL.A01");

    options.maxVolumeSize = 226;
    PackedArchiveWriter tiny(fs, options);
    EXPECT_FALSE(tiny.write("TINY.ARC", error));
}

} // namespace
} // namespace kestrel::files
