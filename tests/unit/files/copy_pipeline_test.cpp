// Installing one file entry: where it comes from, what happens to a file that is there, what a
// failure leaves behind, archives and external unpackers.
#include "fakes/fake_engine_machine.h"
#include "fakes/fake_machine.h"
#include "fakes/recording_copy_services.h"
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "files/copy_pipeline.h"
#include "files/file_copy.h"
#include "files/packed_archive_writer.h"
#include "lexical/field_cursor.h"
#include "support/noise.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrel::files {
namespace {

using lexical::OverwriteMode;

struct FakeRemote : RemoteFiles {
    std::vector<std::string> requested;
    std::vector<std::string> fetched;
    std::map<std::string, std::string> fetchable; // location -> local path
    void requestFile(const std::string& location) override { requested.push_back(location); }
    std::optional<std::string> fetchNow(const std::string& location) override {
        fetched.push_back(location);
        auto found = fetchable.find(location);
        return found == fetchable.end() ? std::nullopt : std::optional(found->second);
    }
};

class CopyPipelineTest : public ::testing::Test {
  protected:
    CopyPipelineTest() {
        fs.requireDirectories = true;
        fs.directories = {"C:\\APP", "C:\\SRC", "C:\\TEMP", "C:\\WINDOWS"};
        macros.setDefaultDir("C:\\APP");
        macros.setSourceDir("http://host/setup");
        macros.setWindowsDir("C:\\WINDOWS");
        log.setLogging(true);
        log.setPath("C:\\APP\\install.log");
    }

    // A FILE line as the interpreter reads it.
    FileEntry entry(const std::string& line) {
        lexical::FieldCursor cursor(line);
        lexical::OptionTables options;
        bool byteModeOff = false;
        return parseFileEntry(cursor, EntryCommand::File, {overwrite, options, byteModeOff}).item;
    }
    InstallResult install(const std::string& line, std::string delivered = {}) {
        FileEntry e = entry(line);
        return pipeline.installEntry(e, delivered);
    }
    std::string bytesOf(const std::string& path) {
        auto found = fs.files.find(path);
        return found == fs.files.end() ? "<missing>" : found->second.bytes;
    }
    bool temporaryLeft() const {
        for (const auto& [path, file] : fs.files)
            if (path.ends_with(".tmp"))
                return true;
        return false;
    }

    OverwriteMode overwrite = OverwriteMode::Ask;
    test::WritableMemoryFileSystem fs;
    test::RecordingPrompts prompts;
    test::FakeFileVersions versions;
    test::RecordingProcesses processes;
    PackedFileLayer layer{fs};
    test::RecordingProgress progress;
    test::ScriptedDisks disks;
    InstallLog log{fs};
    std::string badDirectory = "Invalid directory.";
    DirectoryMaker maker{fs, prompts, log, badDirectory};
    FakeRemote remote;
    lexical::MacroVariables macros;
    std::string serverRoot = "http://host";
    Archiver archiver = Archiver::Pkware;
    std::string fileExists = "File exists.  Overwrite ";
    CopyPipeline pipeline{
        {fs, prompts, versions, processes, layer, progress, disks, maker, log, remote},
        {macros, serverRoot, archiver, fileExists}};
};

TEST_F(CopyPipelineTest, ResolvesEverySourceFormAndRequestsWhatIsNotLocal) {
    const struct {
        const char* line;
        const char* location;
    } cases[] = {
        {"a.txt", "http://host/setup\\a.txt"},
        {"b.txt SOURCE=disk1", "http://host/setup\\disk1\\b.txt"},
        {"c.txt SOURCE=\\pub\\files\\", "http://host\\pub\\files\\c.txt"},
        {"d.txt SOURCE=http://other/x", "http://other/x\\d.txt"},
        {"$WINDIR$\\e.txt SOURCE=http://other/x", "http://other/x\\e.txt"},
    };
    for (const auto& c : cases) {
        remote.requested.clear();
        EXPECT_EQ(install(c.line), InstallResult::Waiting) << c.line;
        EXPECT_EQ(remote.requested, std::vector<std::string>{c.location}) << c.line;
    }
    // Local sources are copied from where they are, at any length.
    remote.requested.clear();
    const std::string longDirectory = "C:\\SRC\\" + std::string(150, 'L');
    fs.directories.insert(longDirectory);
    fs.add(longDirectory + "\\f.txt", "far");
    fs.add("C:\\WINDOWS\\g.txt", "windows");
    EXPECT_EQ(install("f.txt SOURCE=" + longDirectory), InstallResult::Done);
    EXPECT_EQ(install("g.txt SOURCE=$WINDIR$"), InstallResult::Done);
    EXPECT_EQ(bytesOf("C:\\APP\\f.txt"), "far");
    EXPECT_EQ(bytesOf("C:\\APP\\g.txt"), "windows");
    EXPECT_TRUE(remote.requested.empty());

    // A delivered file goes where its name says, making and logging missing directories.
    fs.add("C:\\TEMP\\h.txt", "delivered", {0x3021, 0x0841});
    EXPECT_EQ(install("sub\\deeper\\h.txt", "C:\\TEMP\\h.txt"), InstallResult::Done);
    EXPECT_EQ(bytesOf("C:\\APP\\sub\\deeper\\h.txt"), "delivered");
    EXPECT_EQ(fs.files.at("C:\\APP\\sub\\deeper\\h.txt").stamp, (os::DosDateTime{0x3021, 0x0841}));
    EXPECT_EQ(bytesOf("C:\\APP\\install.log"),
              "FILE: \"C:\\APP\\f.txt\"\nFILE: \"C:\\APP\\g.txt\"\n"
              "DIRECTORY: C:\\APP\\sub\nDIRECTORY: C:\\APP\\sub\\deeper\n\n"
              "FILE: \"C:\\APP\\sub\\deeper\\h.txt\"\n");
    EXPECT_FALSE(temporaryLeft());
}

TEST_F(CopyPipelineTest, OverwriteModesKeepOrReplaceAnExistingFile) {
    const os::DosDateTime older{0x2000, 0}, newer{0x3000, 0};
    const struct {
        const char* name;
        const char* mode;
        os::DosDateTime existing;
        const char* sourceVersion;
        const char* existingVersion;
        std::optional<os::PromptResult> answer;
        bool replaced;
    } cases[] = {
        {"a.txt", "NO", older, nullptr, nullptr, {}, false},
        {"a.txt", "YES", newer, nullptr, nullptr, {}, true},
        {"a.txt", "ASK", newer, nullptr, nullptr, os::kIdYes, true},
        {"a.txt", "ASK", older, nullptr, nullptr, os::kIdNo, false},
        {"a.txt", "NEW", older, nullptr, nullptr, {}, true},
        {"a.txt", "NEW", newer, nullptr, nullptr, {}, false},
        {"a.txt", "NEW", {0x2500, 0x0100}, nullptr, nullptr, {}, false}, // same stamp
        // Versions are dotted numbers: 1.10 is newer than 1.9, whatever the dates say.
        {"lib.dll", "NEW", older, "1.9", "1.10", {}, false},
        {"lib.dll", "NEW", newer, "1.10", "1.9", {}, true},
        {"ctl.OCX", "NEW", older, "2.0", "2.0.0", {}, true},  // equal: the date decides
        {"ctl.vbx", "NEW", newer, "beta", "alpha", {}, true}, // not numbers: as text
        // Only the destination's name says what the file is, not a dot in the source's folder.
        {"notes.txt", "NEW", newer, "9.0", "1.0", {}, false},
    };
    fs.directories.insert("C:\\SRC\\V2.DLL");
    for (const auto& c : cases) {
        const std::string source = std::string("C:\\SRC\\V2.DLL\\") + c.name;
        const std::string destination = std::string("C:\\APP\\") + c.name;
        fs.add(source, "new", {0x2500, 0x0100});
        fs.add(destination, "old", c.existing).attributes = os::attributes::ReadOnly;
        versions.versions.clear();
        if (c.sourceVersion) {
            versions.versions[source] = c.sourceVersion;
            versions.versions[destination] = c.existingVersion;
        }
        prompts.messages.clear();
        if (c.answer)
            prompts.answers = {*c.answer};
        const std::string line = std::string(c.name) +
                                 " SOURCE=C:\\SRC\\V2.DLL OVERWRITE=" + c.mode + " ATTRIBUTE=\"A\"";
        ASSERT_EQ(install(line), InstallResult::Done) << line;
        EXPECT_EQ(bytesOf(destination), c.replaced ? "new" : "old") << line;
        EXPECT_EQ(fs.files.at(destination).attributes,
                  c.replaced ? os::attributes::Archive : os::attributes::ReadOnly)
            << line;
        EXPECT_EQ(prompts.messages.size(), c.answer ? 1u : 0u) << line;
        if (c.answer) {
            EXPECT_EQ(prompts.messages[0].text, "File exists.  Overwrite " + destination + "?");
            EXPECT_EQ(prompts.messages[0].caption, "");
        }
    }
    EXPECT_FALSE(temporaryLeft());
}

TEST_F(CopyPipelineTest, AFailedCopyKeepsTheOldFileAndLeavesNoTemporaryOne) {
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* message;
    } cases[] = {
        {"full disk", [&] { fs.spaceLeft = 40000; }, "Writing disk error."},
        {"bad read", [&] { fs.files["C:\\SRC\\big.bin"].failReadsFrom = 50000; },
         "Reading disk error."},
        {"held open", [&] { fs.locked.insert("C:\\APP\\big.bin"); },
         "Cannot create file C:\\APP\\big.bin"},
        {"no folder", [&] { fs.uncreatable.insert("C:\\APP"); },
         "Cannot create file C:\\APP\\big.bin"},
    };
    for (const auto& c : cases) {
        fs.spaceLeft = UINT64_MAX;
        fs.locked.clear();
        fs.uncreatable.clear();
        fs.files.erase("C:\\SRC\\big.bin");
        fs.add("C:\\SRC\\big.bin", std::string(100000, 'n'));
        fs.add("C:\\APP\\big.bin", "old");
        c.plant();
        prompts.messages.clear();
        EXPECT_EQ(install("big.bin SOURCE=C:\\SRC OVERWRITE=YES"), InstallResult::Abort) << c.what;
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(bytesOf("C:\\APP\\big.bin"), "old") << c.what;
        EXPECT_FALSE(temporaryLeft()) << c.what;
    }
    EXPECT_EQ(bytesOf("C:\\APP\\install.log"), "<missing>");
    // Cancelling in the progress dialog during a long copy stops it the same way, silently.
    fs.spaceLeft = UINT64_MAX;
    fs.locked.clear();
    fs.uncreatable.clear();
    fs.files.erase("C:\\SRC\\big.bin");
    fs.add("C:\\SRC\\big.bin", std::string(5 * files::kCopyBlock, 'n'));
    progress.cancelAtPump = 1;
    prompts.messages.clear();
    EXPECT_EQ(install("big.bin SOURCE=C:\\SRC OVERWRITE=YES"), InstallResult::Abort);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(bytesOf("C:\\APP\\big.bin"), "old");
    EXPECT_FALSE(temporaryLeft());
}

TEST_F(CopyPipelineTest, CountsBytesAndReportsAfterEveryFiftyThousand) {
    progress.byteMode = true;
    // Reports after a block once more than 50000 bytes passed, one at the end of the copy,
    // one for the entry.
    const struct {
        size_t size;
        int advances;
    } cases[] = {
        {0, 2}, {50000, 2}, {120000, 3}, {files::kCopyBlock, 3}, {3 * files::kCopyBlock + 5, 5}};
    for (const auto& c : cases) {
        fs.add("C:\\SRC\\f.bin", std::string(c.size, 'x'));
        const int64_t before = progress.bytes;
        const int advances = progress.advances;
        ASSERT_EQ(install("f.bin SOURCE=C:\\SRC OVERWRITE=YES"), InstallResult::Done);
        EXPECT_EQ(bytesOf("C:\\APP\\f.bin").size(), c.size);
        EXPECT_EQ(progress.bytes - before, int64_t(c.size));
        EXPECT_EQ(progress.advances - advances, c.advances) << c.size;
    }
}

TEST_F(CopyPipelineTest, ArchivesUnpackAndTheirVolumesAreNotInstalledAgain) {
    test::WritableMemoryFileSystem scratch;
    PackedArchiveWriter writer(scratch, {700, LiteralChoice::Auto, ImplodeDictionary::Size4096});
    ArchiveWriteError error;
    const std::string text = test::noise(3000, 5);
    scratch.add("in\\readme.txt", text);
    ASSERT_TRUE(writer.addMember("in\\readme.txt", "docs\\readme.txt", error));
    ASSERT_TRUE(writer.write("C:\\SRC\\DEMO.ARC", error));
    const std::vector<std::string> volumes = writer.volumePaths();
    ASSERT_GE(volumes.size(), 2u);

    // From the web: the first volume is delivered, the others fetched from beside its address.
    for (size_t i = 0; i < volumes.size(); ++i) {
        const std::string name = volumes[i].substr(volumes[i].rfind('\\') + 1);
        fs.files["C:\\TEMP\\" + name] = scratch.files.at(volumes[i]);
        remote.fetchable["http://host/setup\\" + name] = "C:\\TEMP\\" + name;
    }
    EXPECT_EQ(install("DEMO.ARC", "C:\\TEMP\\DEMO.ARC"), InstallResult::Done);
    EXPECT_EQ(bytesOf("C:\\APP\\docs\\readme.txt"), text);
    EXPECT_EQ(remote.fetched.size(), volumes.size() - 1);
    EXPECT_TRUE(disks.requests.empty());
    // Every volume read is passed over when its own entry comes, without a download.
    for (size_t i = 1; i < volumes.size(); ++i)
        EXPECT_EQ(install(volumes[i].substr(7)), InstallResult::Done) << volumes[i];
    EXPECT_TRUE(remote.requested.empty());

    // From a local folder the next volumes are asked for as disks.
    fs.files.erase("C:\\APP\\docs\\readme.txt");
    for (const std::string& path : volumes)
        fs.files[path] = scratch.files.at(path);
    EXPECT_EQ(install("DEMO.ARC SOURCE=C:\\SRC"), InstallResult::Done);
    EXPECT_EQ(bytesOf("C:\\APP\\docs\\readme.txt"), text);
    EXPECT_EQ(disks.requests.size(), volumes.size() - 1);
}

TEST_F(CopyPipelineTest, ExternalUnpackersRunThroughTheShellAndMustStart) {
    using C = FileCompression;
    const struct {
        Archiver archiver;
        FileCompression compression;
        OverwriteMode mode;
        const char* archive;
        const char* command;
    } commands[] = {
        {Archiver::Pkware, C::Compressed, OverwriteMode::Yes, "A.ZIP", "pkunzip A.ZIP -d -o "},
        {Archiver::Pkware, C::SelfExtract, OverwriteMode::New, "C:\\T\\A.EXE",
         "C:\\T\\A.EXE -d -n "},
        {Archiver::Pkware, C::Compressed, OverwriteMode::Ask, "A.ZIP", "pkunzip A.ZIP -d "},
        {Archiver::Lha, C::Compressed, OverwriteMode::Yes, "A.LZH", "lha x /c1 A.LZH "},
        {Archiver::Lha, C::SelfExtract, OverwriteMode::Yes, "A.EXE", "A.EXE "},
    };
    for (const auto& c : commands)
        EXPECT_EQ(unpackerCommand(c.archiver, c.compression, c.mode, c.archive, "C:\\APP"),
                  std::string(c.command) + "C:\\APP\\");

    fs.add("C:\\TEMP\\A.ZIP", "zip");
    EXPECT_EQ(install("A.ZIP COMPRESSED OVERWRITE=YES", "C:\\TEMP\\A.ZIP"), InstallResult::Done);
    EXPECT_EQ(processes.shell, std::vector<std::string>{"pkunzip C:\\TEMP\\A.ZIP -d -o C:\\APP\\"});
    // Where the DOS shell is still installed, it runs the command as it always did.
    fs.add("C:\\WINDOWS\\dosshell.pif", "");
    EXPECT_EQ(install("A.ZIP COMPRESSED OVERWRITE=YES", "C:\\TEMP\\A.ZIP"), InstallResult::Done);
    EXPECT_EQ(processes.waited, std::vector<std::string>{"C:\\WINDOWS\\dosshell.pif /C pkunzip "
                                                         "C:\\TEMP\\A.ZIP -d -o C:\\APP\\"});
    fs.files.erase("C:\\WINDOWS\\dosshell.pif");
    // An unpacker that never ran is an error, not silence.
    for (std::optional<uint32_t> exit :
         {std::optional<uint32_t>(), std::optional<uint32_t>(9009)}) {
        processes.shellExit = exit;
        prompts.messages.clear();
        EXPECT_EQ(install("A.ZIP COMPRESSED", "C:\\TEMP\\A.ZIP"), InstallResult::Abort);
        EXPECT_EQ(prompts.texts(),
                  std::vector<std::string>{std::string(kUnpackerNotStarted) +
                                           "pkunzip C:\\TEMP\\A.ZIP -d C:\\APP\\"});
    }
}

} // namespace
} // namespace kestrel::files
