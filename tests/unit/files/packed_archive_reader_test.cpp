#include "fakes/recording_copy_services.h"
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "files/packed_archive_reader.h"
#include "files/packed_archive_writer.h"
#include "lexical/overwrite_mode.h"
#include "support/noise.h"

#include <gtest/gtest.h>

namespace kestrel::files {
namespace {

using lexical::OverwriteMode;
using test::noise;

std::string imploded(const std::string& data) {
    std::vector<uint8_t> out =
        implodeBuffer({reinterpret_cast<const uint8_t*>(data.data()), data.size()});
    return {out.begin(), out.end()};
}

std::string volumeHeader(const std::string& next, int16_t count, uint16_t mark = 116) {
    std::string bytes(archive::kVolumeHeaderSize, '\0');
    archive::storeVolumeHeader(reinterpret_cast<uint8_t*>(bytes.data()), next, count, true);
    storeU16(reinterpret_cast<uint8_t*>(bytes.data()) + 18, mark);
    return bytes;
}

std::string member(const std::string& name, const std::string& stored, uint16_t date = 0x5000,
                   uint16_t time = 0x0400) {
    std::string bytes(archive::kMemberHeaderSize, '\0');
    archive::storeMemberHeader(reinterpret_cast<uint8_t*>(bytes.data()), name,
                               uint32_t(stored.size()), date, time);
    return bytes + stored;
}

struct Source {
    std::string name;
    std::string bytes;
    os::DosDateTime stamp{0x5000, 0x0400};
};

class PackedArchiveReaderTest : public ::testing::Test {
  protected:
    // Writes an archive of the sources to A:\DEMO.ARC and the volumes beside it.
    std::vector<std::string> writeArchive(const std::vector<Source>& sources,
                                          uint64_t volumeSize = 0) {
        test::WritableMemoryFileSystem scratch;
        PackedArchiveWriter writer(scratch,
                                   {volumeSize, LiteralChoice::Auto, ImplodeDictionary::Size4096});
        ArchiveWriteError error;
        for (const Source& s : sources) {
            scratch.add("in\\" + s.name, s.bytes, s.stamp);
            EXPECT_TRUE(writer.addMember("in\\" + s.name, s.name, error));
        }
        EXPECT_TRUE(writer.write("A:\\DEMO.ARC", error)) << error.message;
        for (const std::string& path : writer.volumePaths())
            fs.files[path] = scratch.files.at(path);
        return writer.volumePaths();
    }

    UnpackResult unpack(OverwriteMode mode = OverwriteMode::Yes, uint32_t attributes = 0x80,
                        const std::string& source = "A:\\DEMO.ARC") {
        return reader.unpackArchive("C:\\DEST\\DEMO.ARC", source, mode, attributes);
    }

    const std::string& installed(const std::string& name) {
        return fs.files.at("C:\\DEST\\" + name).bytes;
    }

    test::WritableMemoryFileSystem fs;
    PackedFileLayer layer{fs};
    PackedFileVolumes volumes{layer};
    test::RecordingPrompts prompts;
    test::RecordingProgress progress;
    test::ScriptedDisks disks;
    test::RecordingInstallRecord record;
    PackedArchiveReader reader{{volumes, fs, prompts, progress, disks, record}};
};

TEST_F(PackedArchiveReaderTest, UnpacksMembersSpreadOverVolumes) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "Line " + std::to_string(i) + " of the read-me file.\r\n";
    std::vector<Source> sources = {{"readme.txt", text, {0x5A21, 0x6000}},
                                   {"sub\\data.bin", noise(2500, 9), {0x4E01, 0x0020}},
                                   {"empty.txt", "", {0x5001, 0x0001}},
                                   {"sub\\deeper\\x.txt", "x", {0x5002, 0x0002}}};
    std::vector<std::string> paths = writeArchive(sources, 700);
    ASSERT_GE(paths.size(), 5u); // the binary member alone spans at least three
    progress.byteMode = true;

    ASSERT_EQ(unpack(OverwriteMode::Ask, 0x21), UnpackResult::Done);
    EXPECT_TRUE(prompts.messages.empty());
    for (const Source& s : sources) {
        const test::WritableMemoryFileSystem::File& out = fs.files.at("C:\\DEST\\" + s.name);
        EXPECT_TRUE(out.bytes == s.bytes) << s.name;
        EXPECT_EQ(out.stamp, s.stamp) << s.name;
        EXPECT_EQ(out.attributes, 0x21u) << s.name;
    }
    EXPECT_EQ(record.logLines,
              (std::vector<std::string>{
                  "FILE: \"C:\\DEST\\readme.txt\"", "FILE: \"C:\\DEST\\sub\\data.bin\"",
                  "FILE: \"C:\\DEST\\empty.txt\"", "FILE: \"C:\\DEST\\sub\\deeper\\x.txt\""}));
    EXPECT_EQ(record.createdDirectories,
              (std::vector<std::string>{"C:\\DEST\\sub\\", "C:\\DEST\\sub\\deeper\\"}));
    EXPECT_EQ(disks.requests, std::vector<bool>(paths.size() - 1, true));
    EXPECT_EQ(record.continuationName, paths.back().substr(3));
    EXPECT_EQ(progress.bytes, int32_t(text.size() + 2500 + 1));
}

TEST_F(PackedArchiveReaderTest, AppliesTheOverwriteModePerMember) {
    std::vector<std::string> paths =
        writeArchive({{"big.bin", noise(3000, 4), {0x5000, 0x0400}}, {"after.txt", "after"}}, 600);
    ASSERT_GE(paths.size(), 4u);
    auto existing = [&](os::DosDateTime stamp, uint32_t attributes = 0x20) {
        fs.add("C:\\DEST\\big.bin", "old", stamp).attributes = attributes;
        fs.files.erase("C:\\DEST\\after.txt");
        record.logLines.clear();
    };
    auto keptOld = [&] { return installed("big.bin") == "old"; };

    // NO keeps the file and still finds the member behind it, volumes later.
    existing({0x4000, 0});
    ASSERT_EQ(unpack(OverwriteMode::No), UnpackResult::Done);
    EXPECT_TRUE(keptOld());
    EXPECT_EQ(installed("after.txt"), "after");
    EXPECT_EQ(record.logLines, std::vector<std::string>{"FILE: \"C:\\DEST\\after.txt\""});

    // NEW replaces only what is older: an earlier date, or the same date and an earlier time.
    for (auto [stamp, replaced] :
         std::vector<std::pair<os::DosDateTime, bool>>{{{0x4FFF, 0xFFFF}, true},
                                                       {{0x5000, 0x03FF}, true},
                                                       {{0x5000, 0x0400}, false},
                                                       {{0x5001, 0x0000}, false}}) {
        existing(stamp);
        ASSERT_EQ(unpack(OverwriteMode::New), UnpackResult::Done);
        EXPECT_EQ(keptOld(), !replaced) << stamp.date << " " << stamp.time;
        EXPECT_EQ(installed("after.txt"), "after");
    }

    existing({0x4000, 0});
    prompts.answers = {os::kIdNo, os::kIdYes};
    ASSERT_EQ(unpack(OverwriteMode::Ask), UnpackResult::Done);
    EXPECT_TRUE(keptOld());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "File exists.  Overwrite C:\\DEST\\big.bin?");
    EXPECT_EQ(prompts.messages[0].caption, "");
    EXPECT_EQ(prompts.messages[0].type, uint32_t(os::kMbYesNo | os::kMbIconQuestion));
    prompts.answers = {os::kIdYes};
    ASSERT_EQ(unpack(OverwriteMode::Ask), UnpackResult::Done);
    EXPECT_FALSE(keptOld());

    existing({0x7000, 0}, os::attributes::ReadOnly);
    ASSERT_EQ(unpack(OverwriteMode::Yes), UnpackResult::Done);
    EXPECT_TRUE(installed("big.bin") == noise(3000, 4));
}

TEST_F(PackedArchiveReaderTest, HandsBackFilesThatAreNoArchive) {
    fs.add("A:\\PART2.ARC", volumeHeader("", 1, 117) + member("a", imploded("a")));
    fs.add("A:\\SHORT.ARC", volumeHeader("", 1).substr(0, 57));
    fs.add("A:\\TEXT.TXT", std::string(300, 't'));
    for (const char* path : {"A:\\PART2.ARC", "A:\\SHORT.ARC", "A:\\TEXT.TXT"})
        EXPECT_EQ(unpack(OverwriteMode::Yes, 0x80, path), UnpackResult::NotAnArchive) << path;
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(fs.files.size(), 3u);
}

TEST_F(PackedArchiveReaderTest, ReportsEachFailureAndKeepsWhatWasUnpacked) {
    const std::string good = member("first.txt", imploded("first"));
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string message; // empty: none shown
    };
    std::vector<Case> cases = {
        {"missing", [] {}, "File not found: A:\\DEMO.ARC"},
        {"negative count", [&] { fs.add("A:\\DEMO.ARC", volumeHeader("", -1) + good); },
         "Invalid compressed file A:\\DEMO.ARC"},
        {"count beyond the data", [&] { fs.add("A:\\DEMO.ARC", volumeHeader("", 3) + good); },
         "Reading file error: A:\\DEMO.ARC"},
        {"wrong continuation",
         [&] {
             fs.add("A:\\DEMO.ARC", volumeHeader("DEMO.A01", 2) + good);
             fs.add("A:\\DEMO.A01", volumeHeader("", 2, 116) + member("b", imploded("b")));
         },
         "Invalid compressed file A:\\DEMO.A01"},
        {"next volume with a path",
         [&] { fs.add("A:\\DEMO.ARC", volumeHeader("..\\X.A01", 2) + good); },
         "Invalid compressed file A:\\DEMO.ARC"},
        {"disk never comes",
         [&] {
             fs.add("A:\\DEMO.ARC", volumeHeader("DEMO.A01", 2) + good);
             disks.giveUpAfter = 2;
         },
         ""},
        {"cannot create",
         [&] {
             fs.add("A:\\DEMO.ARC", volumeHeader("", 2) + good + member("b", imploded("b")));
             fs.uncreatable.insert("C:\\DEST\\b");
         },
         "Cannot create file C:\\DEST\\b"},
        {"disk full",
         [&] {
             fs.add("A:\\DEMO.ARC",
                    volumeHeader("", 2) + good + member("b", imploded(noise(9000, 1))));
             fs.spaceLeft = 6000;
         },
         "Writing disk error."},
        {"read error",
         [&] {
             fs.add("A:\\DEMO.ARC",
                    volumeHeader("", 2) + good + member("b", imploded(noise(9000, 1))))
                 .failReadsFrom = 1000;
         },
         "Reading disk error."},
        {"undecodable",
         [&] { fs.add("A:\\DEMO.ARC", volumeHeader("", 2) + good + member("b", "\x01\x07junk")); },
         ""},
        {"cancelled",
         [&] {
             fs.add("A:\\DEMO.ARC", volumeHeader("", 2) + good + member("b", imploded("b")));
             progress.cancelAtPump = 2;
         },
         ""},
    };
    for (const Case& c : cases) {
        fs = {};
        prompts.messages.clear();
        record.logLines.clear();
        disks = {};
        progress = {};
        c.arrange();
        EXPECT_EQ(unpack(), UnpackResult::Failed) << c.what;
        EXPECT_EQ(prompts.texts(), c.message.empty() ? std::vector<std::string>{}
                                                     : std::vector<std::string>{c.message})
            << c.what;
        if (std::string(c.what) == "disk never comes") {
            EXPECT_EQ(disks.requests, (std::vector<bool>{true, false, false}));
        }
        if (fs.files.count("A:\\DEMO.ARC") && std::string(c.what) != "negative count") {
            EXPECT_EQ(installed("first.txt"), "first") << c.what;
            EXPECT_EQ(record.logLines.front(), "FILE: \"C:\\DEST\\first.txt\"") << c.what;
        }
    }
}

TEST_F(PackedArchiveReaderTest, RefusesMembersWhoseNamesLeaveTheDestination) {
    const char* hostile[] = {"..\\evil1",
                             "C:\\evil2",
                             "\\evil3",
                             "sub\\..\\..\\evil4",
                             "a/../../evil5",
                             ".. \\evil6",
                             "\\\\host\\share\\evil7",
                             "dir\\"};
    std::string archive = volumeHeader("", int16_t(std::size(hostile) + 1));
    for (const char* name : hostile)
        archive += member(name, imploded(std::string("bad ") + name));
    archive += member("sub\\ok.txt", imploded("fine"));
    fs.add("A:\\DEMO.ARC", archive);

    ASSERT_EQ(unpack(), UnpackResult::Done);
    EXPECT_EQ(reader.refusedMembers(), int32_t(std::size(hostile)));
    ASSERT_EQ(prompts.messages.size(), std::size(hostile));
    EXPECT_NE(prompts.messages[3].text.find("sub\\..\\..\\evil4"), std::string::npos);
    EXPECT_EQ(installed("sub\\ok.txt"), "fine");
    for (const auto& [path, file] : fs.files)
        EXPECT_TRUE(path == "A:\\DEMO.ARC" || path.rfind("C:\\DEST\\", 0) == 0) << path;
    EXPECT_EQ(record.createdDirectories, std::vector<std::string>{"C:\\DEST\\sub\\"});

    EXPECT_EQ(memberNameProblem({"sub\\.\\..x\\file", true}), "");
    EXPECT_NE(memberNameProblem({std::string(136, 'n'), false}), "");
}

TEST_F(PackedArchiveReaderTest, PassesOverBytesBehindTheEndMarker) {
    fs.add("A:\\DEMO.ARC", volumeHeader("", 2) + member("a.txt", imploded("alpha") + "JUNK") +
                               member("b.txt", imploded("beta")));
    ASSERT_EQ(unpack(), UnpackResult::Done);
    EXPECT_EQ(installed("a.txt"), "alpha");
    EXPECT_EQ(installed("b.txt"), "beta");
}

TEST_F(PackedArchiveReaderTest, EndsAVolumeChainThatLoops) {
    // The continuation names itself and holds ten more bytes of a member that claims a
    // million; skipping that member would otherwise never end.
    std::string first = volumeHeader("LOOP.A01", 1) + member("big", "");
    storeU32(reinterpret_cast<uint8_t*>(first.data()) + archive::kVolumeHeaderSize + 136, 1000000);
    fs.add("A:\\DEMO.ARC", first + std::string(10, 'x'));
    fs.add("A:\\LOOP.A01", volumeHeader("LOOP.A01", 1, 117) + std::string(10, 'x'));
    fs.add("C:\\DEST\\big", "old");

    EXPECT_EQ(unpack(OverwriteMode::No), UnpackResult::Failed);
    EXPECT_EQ(disks.requests.size(), size_t(kMaxArchiveVolumes - 1));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Invalid compressed file A:\\LOOP.A01"});
}

} // namespace
} // namespace kestrel::files
