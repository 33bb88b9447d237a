// INI files through the real profile functions, and the INI edits over them.
#include "fakes/recording_log.h"
#include "fakes/recording_prompts.h"
#include "os/profile.h"
#include "support/temp_dir.h"
#include "sysedit/ini_phase.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

TEST(Win32Profile, ValuesAreReadWholeAndKeysToldFromEmptyValues) {
    test::TempDir dir;
    const std::string file = dir.write("a.ini", "[S]\r\nEmpty=\r\nQuoted=\"  x  \"\r\n"
                                                "Sentinel=~KSTR\r\n[T]\r\n");
    auto profile = makeNativeProfile();
    EXPECT_EQ(profile->readValue(file, "s", "empty"), "");
    EXPECT_EQ(profile->readValue(file, "S", "Quoted"), "  x  "); // the system strips the quotes
    EXPECT_EQ(profile->readValue(file, "S", "Sentinel"), "~KSTR");
    EXPECT_FALSE(profile->readValue(file, "S", "Missing"));
    EXPECT_FALSE(profile->readValue(file, "Missing", "Empty"));
    EXPECT_TRUE(profile->sectionExists(file, "t"));
    EXPECT_FALSE(profile->sectionExists(file, "U"));

    const std::string longValue(5000, 'L');
    EXPECT_TRUE(profile->writeValue(file, "S", "Long", longValue));
    EXPECT_EQ(profile->readValue(file, "S", "Long"), longValue);
    EXPECT_TRUE(profile->deleteKey(file, "S", "Long"));
    EXPECT_FALSE(profile->readValue(file, "S", "Long"));
    EXPECT_TRUE(profile->deleteSection(file, "T"));
    EXPECT_FALSE(profile->sectionExists(file, "T"));
    EXPECT_NE(test::TempDir::read(file).find("Empty="), std::string::npos);
}

TEST(Win32Profile, IniEditsLogWhatAnUninstallNeeds) {
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const std::string name = "KSTTEST" + std::to_string(GetCurrentProcessId()) + ".INI";
    const std::string inWindows = std::string(windows) + "\\" + name;
    auto files = makeNativeFileSystem();
    auto profile = makeNativeProfile();
    test::RecordingPrompts prompts;
    test::RecordingLog log;
    sysedit::EditServices services{*files, prompts, log};
    lexical::MacroVariables macros;
    macros.setWindowsDir(windows);

    sysedit::IniEdit edit;
    edit.section = "App";
    edit.key = "Key";
    edit.value = "one";
    edit.file = name; // no folder: the Windows folder
    EXPECT_EQ(sysedit::applyIniEdit(edit, macros, "", *profile, services),
              sysedit::EditOutcome::Changed);
    edit.value = "two";
    edit.add = true;
    EXPECT_EQ(sysedit::applyIniEdit(edit, macros, "", *profile, services),
              sysedit::EditOutcome::Changed);
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "FILE: \"" + inWindows + "\"",
                             "INIFILE: \"App\", \"Key\", \"one\", \"" + name + "\"",
                             "INIFILE: \"App\", \"" + name + "\"",
                             "INIFILE: \"App\", \"Key\", \"two\", \"" + name + "\", \"one two\"",
                         }));
    EXPECT_EQ(profile->readValue(inWindows, "App", "Key"), "one two");
    DeleteFileA(inWindows.c_str());
}

} // namespace
} // namespace kestrel::os
