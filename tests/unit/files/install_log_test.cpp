// install.log: appended line by line in binary, with text that waits while it cannot be written.
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "files/directory_maker.h"
#include "files/install_log.h"

#include <gtest/gtest.h>

namespace kestrel::files {
namespace {

TEST(InstallLog, KeepsWaitingTextOfAnyLengthAndWritesNoEmptyBatch) {
    test::WritableMemoryFileSystem fs;
    fs.requireDirectories = true;
    test::RecordingPrompts prompts;
    InstallLog log(fs);
    std::string badDirectory = "Invalid directory.";
    DirectoryMaker maker(fs, prompts, log, badDirectory);

    EXPECT_FALSE(log.write("FILE: \"C:\\X\"")); // logging off: nothing, nothing kept
    log.setLogging(true);
    EXPECT_TRUE(log.pendingText().empty());

    // Before there is a place for the log, text waits as it stands, however long.
    const std::string longLine = "ADDTEXT: \"\", C:\\F, \"" + std::string(3000, 't') + "\"";
    EXPECT_FALSE(log.write(longLine + "\n"));
    log.setPath("C:\\APP\\install.log");
    EXPECT_FALSE(log.write("DEFAULTDIR: \"C:\\APP\"\n")); // the folder is not there yet
    ASSERT_TRUE(maker.make("C:\\APP\\SUB"));
    ASSERT_TRUE(maker.make("C:\\APP\\SUB")); // all there: no empty DIRECTORY piece
    EXPECT_TRUE(log.write("FILE: \"C:\\APP\\SUB\\A.TXT\""));
    EXPECT_EQ(fs.files.at("C:\\APP\\install.log").bytes,
              longLine +
                  "\nDEFAULTDIR: \"C:\\APP\"\nDIRECTORY: C:\\APP\nDIRECTORY: C:\\APP\\SUB\n\n"
                  "FILE: \"C:\\APP\\SUB\\A.TXT\"\n");

    // A level that cannot be made is reported and nothing is logged.
    fs.uncreatable.insert("C:\\APP\\NO");
    EXPECT_FALSE(maker.make("C:\\APP\\NO\\DEEP"));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Invalid directory."});
    EXPECT_FALSE(fs.files.at("C:\\APP\\install.log").bytes.ends_with("NO\n\n"));
}

} // namespace
} // namespace kestrel::files
