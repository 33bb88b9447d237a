// The phases around the rewrites: the question, the backup, the one-move replacement and the
// log lines written only once the new file is in place.
#include "fakes/recording_log.h"
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "sysedit/add_text_phase.h"
#include "sysedit/start_file_phases.h"

#include <gtest/gtest.h>

namespace kestrel::sysedit {
namespace {

constexpr char kAutoexec[] = "D:\\AUTOEXEC.BAT";
constexpr char kBackup[] = "D:\\AUTOEXEC.BAK";
constexpr char kOriginal[] = "PATH C:\\DOS\r\nWIN\r\n";

struct StartFilePhases : ::testing::Test {
    test::WritableMemoryFileSystem files;
    test::RecordingPrompts prompts;
    test::RecordingLog log;
    EditServices services{files, prompts, log};
    lexical::MacroVariables macros;
    AutoexecEdit edit;

    StartFilePhases() {
        edit.mode = EditMode::ModifyThenAsk;
        edit.pathList.emplace_back("C:\\APP");
        files.directories.insert("D:\\");
    }
    EditOutcome runAutoexec() {
        return runAutoexecPhase(edit, macros, 'D', std::nullopt, "Modify?", services);
    }
    // Only the file and its backup: no temporary file is left behind.
    void expectOnlyFiles(std::set<std::string> names) {
        std::set<std::string> present;
        for (const auto& [path, file] : files.files)
            present.insert(path);
        EXPECT_EQ(present, names);
    }
};

TEST_F(StartFilePhases, ChangeIsAskedKeptAsBackupAndLoggedAfterwards) {
    files.add(kAutoexec, kOriginal).attributes = os::attributes::Hidden | os::attributes::ReadOnly;
    files.add(kBackup, "older").attributes = os::attributes::ReadOnly;
    EXPECT_EQ(runAutoexec(), EditOutcome::Changed);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Modify?");
    EXPECT_EQ(prompts.messages[0].caption, "");
    EXPECT_EQ(prompts.messages[0].type, uint32_t(os::kMbYesNo | os::kMbIconQuestion));
    EXPECT_EQ(files.files[kAutoexec].bytes, "PATH C:\\APP;C:\\DOS\r\nWIN\r\n");
    EXPECT_EQ(files.files[kAutoexec].attributes,
              uint32_t(os::attributes::Hidden | os::attributes::ReadOnly));
    EXPECT_EQ(files.files[kBackup].bytes, kOriginal);
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"AUTOEXEC: \"PATH C:\\DOS\", \"PATH C:\\APP;C:\\DOS\""});
    expectOnlyFiles({kAutoexec, kBackup});
}

TEST_F(StartFilePhases, NoOrNothingToChangeTouchesNothing) {
    files.add(kAutoexec, kOriginal);
    prompts.answers = {os::kIdNo};
    EXPECT_EQ(runAutoexec(), EditOutcome::Declined);
    edit.pathList.clear();
    edit.pathList.emplace_back("c:\\dos");
    EXPECT_EQ(runAutoexec(), EditOutcome::Unchanged);
    EXPECT_EQ(prompts.messages.size(), 1u); // asked once, for the change that would be made
    EXPECT_EQ(files.files[kAutoexec].bytes, kOriginal);
    EXPECT_TRUE(log.lines.empty());
    expectOnlyFiles({kAutoexec});
    // Appended lines alone are a change too, and are asked for.
    edit.lineList.emplace_back("SET A=1");
    prompts.answers = {os::kIdNo};
    EXPECT_EQ(runAutoexec(), EditOutcome::Declined);
}

TEST_F(StartFilePhases, FailuresLeaveTheOriginalAndAreTold) {
    files.add(kAutoexec, kOriginal);
    edit.mode = EditMode::Modify;
    auto expectUntouched = [&](const char* what) {
        EXPECT_EQ(runAutoexec(), EditOutcome::Failed) << what;
        EXPECT_EQ(files.files[kAutoexec].bytes, kOriginal) << what;
        EXPECT_TRUE(log.lines.empty()) << what;
        ASSERT_FALSE(prompts.messages.empty()) << what;
        EXPECT_EQ(prompts.messages.back().text, std::string(kCannotChangeFile) + kAutoexec);
        files.files.erase(kBackup);
        expectOnlyFiles({kAutoexec});
    };
    files.spaceLeft = 5; // the disk fills up while the new text is written
    expectUntouched("full disk");
    files.spaceLeft = UINT64_MAX;
    files.locked = {kBackup};
    expectUntouched("locked backup");
    files.locked = {kAutoexec};
    expectUntouched("locked file");
    files.locked.clear();
    files.uncreatable = {"D:\\"};
    expectUntouched("no temporary file");
}

TEST_F(StartFilePhases, MissingFilesAreCreatedAndAStaleBackupGoes) {
    files.add(kBackup, "from another time");
    ConfigEdit config;
    config.mode = EditMode::Modify;
    config.filesMinimum = 30;
    EXPECT_EQ(runAutoexec(), EditOutcome::Changed);
    EXPECT_EQ(runConfigPhase(config, macros, 'D', "Config?", services), EditOutcome::Changed);
    EXPECT_EQ(files.files[kAutoexec].bytes, "PATH=C:\\APP;\r\n");
    EXPECT_EQ(files.files["D:\\CONFIG.SYS"].bytes, "FILES = 30\r\n");
    expectOnlyFiles({kAutoexec, "D:\\CONFIG.SYS"});
    // A command never given changes nothing.
    EXPECT_EQ(runConfigPhase(ConfigEdit{}, macros, 'D', "", services), EditOutcome::Unchanged);
}

TEST_F(StartFilePhases, TextInsertionTakesRelativeNamesInTheDestination) {
    macros.setDefaultDir("D:\\APP");
    files.directories.insert("D:\\APP");
    files.add("D:\\APP\\A.TXT", "a\r\n");
    TextInsertion existing{"b", "A.TXT", "", false};
    TextInsertion created{"c", "D:\\APP\\NEW.TXT", "", false};
    runAddTextPhase({existing, created}, macros, services);
    EXPECT_EQ(files.files["D:\\APP\\A.TXT"].bytes, "a\r\nb\r\n");
    EXPECT_EQ(files.files["D:\\APP\\NEW.TXT"].bytes, "c\r\n");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "ADDTEXT: \"\", A.TXT, \"b\"",
                             "FILE: \"D:\\APP\\NEW.TXT\"",
                             "ADDTEXT: \"\", D:\\APP\\NEW.TXT, \"c\"",
                         }));
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace kestrel::sysedit
