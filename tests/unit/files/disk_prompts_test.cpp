// Asking for a disk: the label is checked in the drive the following files come from.
#include "fakes/fake_engine_machine.h"
#include "fakes/recording_prompts.h"
#include "files/disk_prompts.h"

#include <gtest/gtest.h>

#include <utility>

namespace kestrel::files {
namespace {

FileEntry disk(std::string label) {
    FileEntry entry;
    entry.name = "Disk 2";
    entry.volumeLabel = std::move(label);
    entry.kind = entry.volumeLabel.empty() ? EntryKind::Disk : EntryKind::DiskWithLabel;
    return entry;
}

FileEntry file(SourceKind kind, std::string source) {
    FileEntry entry;
    entry.name = "f.txt";
    entry.sourceKind = kind;
    entry.source = std::move(source);
    return entry;
}

TEST(DiskPrompts, AsksUntilTheLabelledDiskIsInTheSourceDrive) {
    test::RecordingPrompts prompts;
    test::FakeVolumes volumes;
    lexical::MacroVariables macros;
    macros.setSourceDir("http://example.test/setup"); // a URL names no drive
    const std::string insert = "Please insert ", quit = "Do you wish to quit?";
    int containerClosed = 0;
    DiskPromptContext context{prompts, volumes, macros, insert, quit, [&] { ++containerClosed; },
                              {}};

    // The drive comes from the files after the disk entry, macros expanded.
    macros.setLocateDir("D:\\");
    std::vector<FileEntry> entries = {disk("DISK2"), file(SourceKind::ScriptDirectory, ""),
                                      file(SourceKind::Local, "$LOCATEDRIVE$:\\SETUP")};
    EXPECT_EQ(sourceDriveAfter(entries, 0, macros), 'D');
    volumes.labels['D'] = "DISK1";
    prompts.answers = {os::kIdOk, os::kIdCancel, os::kIdNo, os::kIdOk};
    int asked = 0;
    context.stopping = [&] {
        if (++asked == 3)
            volumes.labels['D'] = "disk2";
        return false;
    };
    EXPECT_TRUE(askForDisk(context, entries, 0));
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{"Please insert Disk 2", "Please insert Disk 2",
                                        "Do you wish to quit?", "Please insert Disk 2"}));
    EXPECT_EQ(prompts.messages[0].type, uint32_t(os::kMbOkCancel | os::kMbIconInformation));
    EXPECT_EQ(macros.sourceDrive(), "D");
    EXPECT_EQ(containerClosed, 1);

    // Without a drive to look in, OK is taken at its word; Yes to quitting ends it.
    entries = {disk("DISK2"), file(SourceKind::Url, "http://x")};
    prompts.messages.clear();
    prompts.answers = {os::kIdOk};
    context.stopping = {};
    EXPECT_TRUE(askForDisk(context, entries, 0));
    prompts.answers = {os::kIdCancel, os::kIdYes};
    EXPECT_FALSE(askForDisk(context, entries, 0));
    // An installation being ended stops asking at once, and when it ends while the box is up
    // (the box refused for it), no quit question follows.
    context.stopping = [] { return true; };
    EXPECT_FALSE(askForDisk(context, entries, 0));
    prompts.messages.clear();
    prompts.answers = {os::kIdCancel, os::kIdNo};
    bool ended = false;
    context.stopping = [&] { return std::exchange(ended, true); };
    EXPECT_FALSE(askForDisk(context, entries, 0));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Please insert Disk 2"});
}

} // namespace
} // namespace kestrel::files
