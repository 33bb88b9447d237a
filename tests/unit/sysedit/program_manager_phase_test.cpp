#include "fakes/fake_engine_machine.h"
#include "fakes/recording_log.h"
#include "lexical/field_cursor.h"
#include "sysedit/program_manager_phase.h"

#include <gtest/gtest.h>

namespace kestrel::sysedit {
namespace {

std::vector<WinItemEntry> entries(std::initializer_list<const char*> lines) {
    std::vector<WinItemEntry> parsed;
    for (const char* line : lines) {
        lexical::FieldCursor cursor(line);
        cursor.readKeyword();
        const auto result = parseWinItemEntry(cursor);
        EXPECT_FALSE(result.error) << line;
        parsed.push_back(result.item);
    }
    return parsed;
}

TEST(ProgramManagerPhase, CommandsFollowTheEntriesInOrder) {
    lexical::MacroVariables macros;
    macros.setDefaultDir("C:\\APP");
    const std::vector<WinItemEntry> list = entries({
        "WINITEM \"Tools\" \"$DEFAULTDIR$\\A.EXE\" \"A\"",
        "WINITEM \"tools\" \"C:\\B.EXE\" \"B\" \"C:\\W\\\" \"C:\\B.ICO\" 2",
        "WINITEM \"Games\" \"C:\\C.EXE\" \"C\" \"C:\\W\\\", replace",
        "WINITEM \"Tools\" \"C:\\D.EXE\" \"D\" \"C:\\D.ICO\", remove",
        "WINITEM \"Old\", remove",
        "WINITEM \"Tools\" \"C:\\E.EXE\" \"E\" \"C:\\W\\\" \"C:\\E.ICO\"",
        "WINITEM \"Empty\"",
    });
    EXPECT_EQ(programManagerCommands(list, macros),
              (std::vector<std::string>{
                  "[CreateGroup(Tools)]",
                  "[AddItem(C:\\APP\\A.EXE, A)]",
                  "[AddItem(C:\\B.EXE, B, C:\\B.ICO, 2, -1, -1,C:\\W\\)]",
                  "[CreateGroup(Games)]",
                  "[ReplaceItem(C)]",
                  "[AddItem(C:\\C.EXE, C, , , -1, -1,C:\\W\\)]",
                  "[CreateGroup(Tools)]",
                  "[DeleteItem(D)]",
                  "[DeleteGroup(Old)]",
                  "[AddItem(C:\\E.EXE, E, C:\\E.ICO, , -1, -1,C:\\W\\)]",
                  "[CreateGroup(Empty)]",
              }));
}

TEST(ProgramManagerPhase, FieldsThatWouldBreakACommandAreQuoted) {
    const std::vector<WinItemEntry> list = entries({
        "WINITEM \"Tools, Games\" \"C:\\PROGRA~1\\A.EXE\" \"A (new)\" \"C:\\A,B\\\" \"C:\\A.ICO\" "
        "0",
    });
    EXPECT_EQ(programManagerCommands(list, lexical::MacroVariables()),
              (std::vector<std::string>{
                  "[CreateGroup(\"Tools, Games\")]",
                  "[AddItem(C:\\PROGRA~1\\A.EXE, \"A (new)\", C:\\A.ICO, 0, -1, -1,\"C:\\A,B\\\")]",
              }));
}

TEST(ProgramManagerPhase, LogsEachGroupAndItemMadeAndRunsAgain) {
    const std::vector<WinItemEntry> list = entries({
        "WINITEM \"Tools\" \"C:\\A.EXE\" \"A\"",
        "WINITEM \"Tools\" \"C:\\B.EXE\" \"B\", remove",
        "WINITEM \"Games\"",
    });
    test::RecordingProgramManager programManager;
    test::RecordingLog log;
    EXPECT_TRUE(runProgramManagerPhase(list, {}, programManager, log));
    EXPECT_TRUE(runProgramManagerPhase(list, {}, programManager, log));
    EXPECT_EQ(programManager.runs, 2);
    EXPECT_EQ(log.lines.size(), 4u);
    EXPECT_EQ(log.lines[0], "WINITEM: \"Tools\", \"A\"");
    EXPECT_EQ(log.lines[1], "WINITEM: \"Games\", \"\"");
    // Without DDE nothing is sent and nothing logged.
    programManager.available = false;
    programManager.commands.clear();
    EXPECT_FALSE(runProgramManagerPhase(list, {}, programManager, log));
    EXPECT_TRUE(programManager.commands.empty());
    EXPECT_EQ(log.lines.size(), 4u);
}

} // namespace
} // namespace kestrel::sysedit
