// DELETE and RENAME: where their names lead, what wildcards find, and what they must not touch.
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "files/delete_rename.h"

#include <gtest/gtest.h>

namespace kestrel::files {
namespace {

class DeleteRenameTest : public ::testing::Test {
  protected:
    DeleteRenameTest() {
        fs.directories = {"C:\\APP", "C:\\A", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"};
        macros.setDefaultDir("C:\\APP");
        macros.setWindowsDir("C:\\WINDOWS");
        macros.setSystemDir("C:\\WINDOWS\\SYSTEM");
        log.setLogging(true);
        log.setPath(logPath);
        for (const char* path :
             {"C:\\APP\\a.txt", "C:\\APP\\b.TXT", "C:\\APP\\c.txtx", "C:\\APP\\keep.doc",
              "C:\\A\\x.txt", "C:\\A\\y.txt", "C:\\root.txt", "C:\\WINDOWS\\w.tmp"})
            fs.add(path, path);
    }
    bool exists(const std::string& path) const { return fs.files.count(path) != 0; }
    std::string logText() const { return fs.files.at(logPath).bytes; }

    test::WritableMemoryFileSystem fs;
    test::RecordingPrompts prompts;
    lexical::MacroVariables macros;
    std::string logPath = "C:\\APP\\install.log";
    InstallLog log{fs};
    std::string badDirectory = "Invalid directory.";
    DirectoryMaker maker{fs, prompts, log, badDirectory};
    FileOperationsContext context{fs, macros, maker, log, logPath};
};

TEST_F(DeleteRenameTest, DeleteMatchesLongNamesAndSparesTheMachinesOwnFiles) {
    fs.add(logPath, "");
    fs.add("C:\\APP\\ro.txt", "").attributes = os::attributes::ReadOnly;
    deleteFiles(context, "*.TXT"); // relative: in the destination
    EXPECT_FALSE(exists("C:\\APP\\a.txt"));
    EXPECT_FALSE(exists("C:\\APP\\b.TXT"));
    EXPECT_FALSE(exists("C:\\APP\\ro.txt")); // read-only is cleared first
    EXPECT_TRUE(exists("C:\\APP\\c.txtx"));  // only an 8.3 alias would match
    EXPECT_TRUE(exists("C:\\APP\\keep.doc"));

    deleteFiles(context, "*.*");
    EXPECT_FALSE(exists("C:\\APP\\keep.doc"));
    EXPECT_TRUE(exists(logPath));
    // Wildcards never act on a drive root or the Windows folders; a named file may go.
    for (const char* pattern : {"C:\\*.TXT", "C:*.*", "\\*.*", "$WINDIR$\\*.*", "$WINSYSDIR$\\*"})
        deleteFiles(context, pattern);
    EXPECT_TRUE(exists("C:\\root.txt"));
    EXPECT_TRUE(exists("C:\\WINDOWS\\w.tmp"));
    deleteFiles(context, "$WINDIR$\\w.tmp");
    EXPECT_FALSE(exists("C:\\WINDOWS\\w.tmp"));
}

TEST_F(DeleteRenameTest, RenameMovesMatchingFilesAndLogsFullPaths) {
    // Every .TXT of C:\A into a directory that does not exist yet, as .BAK.
    renameFiles(context, "C:\\A\\*.TXT", "C:\\B\\*.BAK");
    EXPECT_TRUE(exists("C:\\B\\x.BAK") && exists("C:\\B\\y.BAK"));
    EXPECT_FALSE(exists("C:\\A\\x.txt"));
    // Mode 1: a new base name, the found extensions; a bare new name stays beside the file.
    renameFiles(context, "C:\\B\\x*", "z.new");
    EXPECT_TRUE(exists("C:\\B\\z.BAK"));
    // A relative old name is taken in the destination.
    renameFiles(context, "a.txt", "SUB\\a2.txt");
    EXPECT_TRUE(exists("C:\\APP\\SUB\\a2.txt"));
    EXPECT_EQ(logText(), "DIRECTORY: C:\\B\n\n"
                         "RENAME: C:\\B\\x.BAK, C:\\A\\x.txt\n"
                         "RENAME: C:\\B\\y.BAK, C:\\A\\y.txt\n"
                         "RENAME: C:\\B\\z.BAK, C:\\B\\x.BAK\n"
                         "DIRECTORY: C:\\APP\\SUB\n\n"
                         "RENAME: C:\\APP\\SUB\\a2.txt, C:\\APP\\a.txt\n");

    // Names that lead back to the same file, and a missing file, change nothing.
    const std::string before = logText();
    renameFiles(context, "C:\\B\\*.*", "C:\\B\\*.*");
    renameFiles(context, "C:\\B\\z.BAK", "C:\\B\\Z.bak");
    renameFiles(context, "C:\\B\\missing.txt", "C:\\B\\other.txt");
    EXPECT_TRUE(exists("C:\\B\\z.BAK") && exists("C:\\B\\y.BAK"));
    EXPECT_EQ(logText(), before);
}

} // namespace
} // namespace kestrel::files
