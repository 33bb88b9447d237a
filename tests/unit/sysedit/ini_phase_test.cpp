#include "fakes/memory_profile.h"
#include "fakes/recording_log.h"
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "sysedit/ini_phase.h"

#include <gtest/gtest.h>

namespace kestrel::sysedit {
namespace {

struct IniPhase : ::testing::Test {
    test::WritableMemoryFileSystem files;
    test::RecordingPrompts prompts;
    test::RecordingLog log;
    test::MemoryProfile profile;
    EditServices services{files, prompts, log};
    lexical::MacroVariables macros;

    IniPhase() {
        macros.setWindowsDir("C:\\WINDOWS");
        macros.setDefaultDir("C:\\APP");
    }
    EditOutcome apply(IniEdit edit) {
        return applyIniEdit(edit, macros, "Modify ", profile, services);
    }
    static IniEdit edit(std::string section, std::string key, std::string value,
                        std::string file = "APP.INI") {
        IniEdit e;
        e.section = std::move(section);
        e.key = std::move(key);
        e.value = std::move(value);
        e.file = std::move(file);
        return e;
    }
};

TEST_F(IniPhase, NewFileSectionAndKeyAreLoggedInOrder) {
    EXPECT_EQ(apply(edit("App", "Dir", "$DEFAULTDIR$")), EditOutcome::Changed);
    EXPECT_EQ(profile.files["APP.INI"]["App"]["Dir"], "C:\\APP");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "FILE: \"C:\\WINDOWS\\APP.INI\"",
                             "INIFILE: \"App\", \"Dir\", \"C:\\APP\", \"APP.INI\"",
                             "INIFILE: \"App\", \"APP.INI\"",
                         }));
}

TEST_F(IniPhase, ExistingValuesAreReplacedOrAppendedAndLoggedWhole) {
    // An existing file is never logged as created, even when it cannot be opened (locked).
    files.add("C:\\WINDOWS\\APP.INI", "");
    files.locked.insert("C:\\WINDOWS\\APP.INI");
    const std::string longOld(3000, 'o');
    profile.files["APP.INI"]["S"] = {{"Long", longOld}, {"Same", "Value"}, {"List", "a b"}};
    EXPECT_EQ(apply(edit("S", "Long", "new")), EditOutcome::Changed);
    EXPECT_EQ(apply(edit("S", "Same", "VALUE")), EditOutcome::Unchanged);
    IniEdit add = edit("S", "List", "c");
    add.add = true;
    EXPECT_EQ(apply(add), EditOutcome::Changed);
    add.value = "B";
    EXPECT_EQ(apply(add), EditOutcome::Unchanged); // contained already, in any case
    EXPECT_EQ(profile.files["APP.INI"]["S"]["List"], "a b c");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "INIFILE: \"S\", \"Long\", \"new\", \"APP.INI\", \"" + longOld + "\"",
                             "INIFILE: \"S\", \"List\", \"c\", \"APP.INI\", \"a b c\"",
                         }));
}

TEST_F(IniPhase, AskedNoOrFailedWritesLogNothing) {
    IniEdit asked = edit("S", "K", "v", "C:\\DATA\\X.INI");
    asked.mode = EditMode::ModifyThenAsk;
    prompts.answers = {os::kIdNo};
    EXPECT_EQ(apply(asked), EditOutcome::Declined);
    EXPECT_EQ(prompts.messages[0].text, "Modify C:\\DATA\\X.INI?");
    profile.unwritable.insert("C:\\DATA\\X.INI");
    EXPECT_EQ(apply(asked), EditOutcome::Failed);
    EXPECT_EQ(prompts.messages.back().text, std::string(kCannotChangeFile) + "C:\\DATA\\X.INI");
    EXPECT_TRUE(log.lines.empty());
    // WIN.INI is the system's own: never logged as created.
    EXPECT_EQ(apply(edit("S", "K", "v", "win.ini")), EditOutcome::Changed);
    EXPECT_EQ(log.lines.front(), "INIFILE: \"S\", \"K\", \"v\", \"win.ini\"");
}

} // namespace
} // namespace kestrel::sysedit
