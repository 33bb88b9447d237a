// The Program Manager phase against the shell's own DDE server. Wine's server makes a folder
// under the Start Menu for a group and a shortcut for an item; it takes only items whose
// target exists and has no arguments, and an item with empty fields brings it down, so the
// items here are of the kinds it takes. The shell keeps a window open: the test run ends its
// prefix afterwards.
#include "fakes/recording_log.h"
#include "os/program_manager.h"
#include "sysedit/program_manager_phase.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <random>

namespace kestrel::os {
namespace {

std::string programsFolder() {
    char path[MAX_PATH];
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, path), S_OK);
    return path;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The shell may still be starting: the first command is tried for a while.
bool executeWhenReady(ProgramManager& programManager, const std::string& command) {
    for (int attempt = 0; attempt < 60; ++attempt) {
        if (programManager.execute(command))
            return true;
        Sleep(500);
    }
    return false;
}

TEST(Win32ProgramManager, GroupsAndItemsReachTheShellInEveryRun) {
    const std::string group = "KestrelTest" + std::to_string(std::random_device()() % 100000);
    const std::string folder = programsFolder() + "\\" + group;
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string target = std::string(windows) + "\\notepad.exe";

    auto programManager = makeNativeProgramManager();
    ASSERT_TRUE(programManager->begin());
    ASSERT_TRUE(executeWhenReady(*programManager, "[CreateGroup(" + group + ")]"));
    EXPECT_TRUE(exists(folder));
    programManager->end();

    // A second run in the same process, as a second installation would make it.
    std::vector<sysedit::WinItemEntry> entries(2);
    entries[0].group = group;
    entries[0].commandLine = target;
    entries[0].itemName = "Editor";
    entries[1].group = group;
    entries[1].commandLine = target;
    entries[1].itemName = "Editor (copy)"; // quoted in the command
    test::RecordingLog log;
    ASSERT_TRUE(sysedit::runProgramManagerPhase(entries, {}, *programManager, log));
    EXPECT_TRUE(exists(folder + "\\Editor.lnk"));
    EXPECT_TRUE(exists(folder + "\\Editor (copy).lnk"));
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "WINITEM: \"" + group + "\", \"Editor\"",
                             "WINITEM: \"" + group + "\", \"Editor (copy)\"",
                         }));

    ASSERT_TRUE(programManager->begin());
    EXPECT_TRUE(programManager->execute("[DeleteGroup(" + group + ")]"));
    programManager->end();
    EXPECT_FALSE(exists(folder));
    EXPECT_FALSE(programManager->execute("[CreateGroup(" + group + ")]")); // no run begun
}

} // namespace
} // namespace kestrel::os
