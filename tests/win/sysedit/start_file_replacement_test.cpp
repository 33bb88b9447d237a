// A start-up file rewritten on the real file system: the one-move replacement keeps the file's
// attributes, every untouched byte, and the original as its backup.
#include "fakes/recording_log.h"
#include "fakes/recording_prompts.h"
#include "os/file_system.h"
#include "sysedit/start_file_phases.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::sysedit {
namespace {

TEST(StartFileReplacement, AutoexecKeepsAttributesBytesAndBackup) {
    const std::string path = "C:\\AUTOEXEC.BAT";
    const std::string backup = "C:\\AUTOEXEC.BAK";
    const std::string original = "@ECHO OFF\r\nPATH C:\\DOS\n\x1a\x1a";
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, original.data(), DWORD(original.size()), &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

    auto files = os::makeNativeFileSystem();
    test::RecordingPrompts prompts;
    test::RecordingLog log;
    EditServices services{*files, prompts, log};
    AutoexecEdit edit;
    edit.mode = EditMode::Modify;
    edit.pathList.emplace_back("C:\\APP");
    EXPECT_EQ(runAutoexecPhase(edit, {}, 'C', std::nullopt, "", services), EditOutcome::Changed);

    EXPECT_EQ(test::TempDir::read(path), "@ECHO OFF\r\nPATH C:\\APP;C:\\DOS\n\x1a\x1a");
    EXPECT_EQ(test::TempDir::read(backup), original);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & 0x07u,
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("C:\\~KST*.tmp", &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE); // no temporary file left
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_EQ(log.lines.size(), 1u);

    for (const std::string& name : {path, backup}) {
        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(name.c_str());
    }
}

} // namespace
} // namespace kestrel::sysedit
