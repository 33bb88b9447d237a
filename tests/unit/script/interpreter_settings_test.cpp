// What the settings record holds after a run: its defaults, the destinations, the disk space
// per option, the exit message, conditions around screen text, and the deferred pass.
#include "interpreter_fixture.h"
#include "support/warnings.h"

namespace kestrel::script {
namespace {

using test::InterpreterTest;

TEST_F(InterpreterTest, NewScriptStartsWithItsDefaults) {
    globals.settings.okText = "Weiter";
    globals.settings.uninstallTitleText = "Entfernen";
    globals.options.setSelected(3, true);
    InstallScript fresh(globals, 0x06160A03, true); // Windows 3.10, DOS 6.22
    // The constructor puts the texts shown before a script is read back to their defaults;
    // the uninstall texts keep what the last script gave them.
    EXPECT_EQ(globals.settings.okText, "OK");
    EXPECT_EQ(globals.settings.uninstallTitleText, "Entfernen");
    EXPECT_FALSE(globals.options.selected(3));
    EXPECT_DOUBLE_EQ(globals.windowsVersion, 3.1);
    EXPECT_DOUBLE_EQ(globals.dosVersion, 6.22);
    EXPECT_EQ(globals.defaultDriveLetter, 'A');
}

TEST_F(InterpreterTest, DestinationsGetADrive) {
    const std::pair<const char*, const char*> cases[] = {
        {"DEFAULTDIR APPS", "C:\\APPS"},
        {"DEFAULTDIR \\APPS", "C:\\APPS"},
        {"DEFAULTDIR d:", "d:\\"},
        {"DEFAULTDIR \"E:\\Program Files\\Demo\"", "E:\\Program Files\\Demo"},
        {"DEFAULTDIR $WINDIR$\\DEMO", "C:\\$WINDIR$\\DEMO"},
        {"DIR3 $ASK1$", "$ASK1$"},
        {"DIR2 DATA", "C:\\DATA"},
    };
    for (const auto& [line, path] : cases) {
        ASSERT_EQ(runMain(std::string(line) + "\n"), kRunSucceeded) << line;
        const std::optional<DirectoryPrompt>& record =
            script->defaultDir ? script->defaultDir : (script->dir2 ? script->dir2 : script->dir3);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->path, path) << line;
        EXPECT_EQ(record->askMode, AskMode::DriveAndDirectory);
    }
    // Given again, the destination empties its prompt text but keeps the mark that a prompt was
    // given: it asks with an empty prompt.
    ASSERT_EQ(runMain("DEFAULTDIR C:\\A prompt=\"First?\"\nDEFAULTDIR C:\\B NOASKDIR\n"),
              kRunSucceeded);
    EXPECT_EQ(script->defaultDir->path, "C:\\B");
    EXPECT_TRUE(script->defaultDir->promptGiven);
    EXPECT_EQ(script->defaultDir->promptText, "");
    EXPECT_EQ(globals.macros.defaultDrive(), "C");
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].lineNumber, 2);
}

TEST_F(InterpreterTest, WithoutDefaultDirTheWorkingDirectoryIsTheDestination) {
    ASSERT_EQ(runMain("TITLE \"t\"\n"), kRunSucceeded);
    EXPECT_EQ(globals.macros.defaultDir(), "D:\\WORK");
    EXPECT_EQ(globals.macros.defaultDrive(), "D");

    globals = PluginGlobals{};
    globals.macros.setSourceDir("D:\\CDROM");
    ASSERT_EQ(runMain("TITLE \"t\"\n"), kRunSucceeded);
    EXPECT_EQ(globals.macros.defaultDir(), "C:\\NEWFILES");
}

TEST_F(InterpreterTest, DiskSpaceIsSettledPerOption) {
    const std::string groups = "BEGINGROUP 1\n"
                               "03 [X] Program\n"
                               "05 [ ] Samples\n"
                               "ENDGROUP\n";
    ASSERT_EQ(runMain("MINDISKSPACE 2M 3\nMINDISKSPACE 800k\n" + groups), kRunSucceeded);
    EXPECT_EQ(script->minDiskSpace, 800000);
    EXPECT_EQ(script->optionMinDiskSpace[0], 2000000); // group number 3 labels option 0
    EXPECT_EQ(script->optionMinDiskSpace[1], 1);       // number 5 had no MINDISKSPACE

    ASSERT_EQ(runMain("MINDISKSPACE 0.25M\n"), kRunSucceeded);
    EXPECT_EQ(script->optionMinDiskSpace[0], 250000);
    ASSERT_EQ(runMain("TITLE \"t\"\n"), kRunSucceeded);
    EXPECT_EQ(script->optionMinDiskSpace[0], 1); // the main pass starts it at 1
}

TEST_F(InterpreterTest, ExitMessageShowsItsTextAndEndsTheInstallation) {
    ASSERT_EQ(runMain("IF winver < 3.1\n"
                      "EXITMESSAGE\n"
                      "This needs Windows 3.1.\n"
                      "IF you have it, try again.\n"
                      "EXIT\n"
                      "ENDIF\n"
                      "TITLE \"after\"\n"),
              kRunSucceeded);
    EXPECT_TRUE(prompts.screens.empty()); // a switched-off branch, IF in its text included
    EXPECT_EQ(script->title, "after");

    EXPECT_EQ(runMain("IF winver >= 3.1\n"
                      "EXITMESSAGE\n"
                      "This installation is closed.\n"
                      "EXIT\n"
                      "ENDIF\n"
                      "TITLE \"never read\"\n"),
              kRunStopped);
    ASSERT_EQ(prompts.screens.size(), 1u);
    EXPECT_EQ(prompts.screens[0].lines, std::vector<std::string>{"This installation is closed."});
    EXPECT_FALSE(prompts.screens[0].dialogTemplate.empty());
    EXPECT_TRUE(prompts.messages.empty()); // no error message after it
    EXPECT_EQ(script->title, "");
}

TEST_F(InterpreterTest, InASwitchedOffBranchOnlyExitTextIsPassedOver) {
    // A screen line beginning with "If" is an IF inside a switched-off branch.
    EXPECT_EQ(runMain("IF winver < 3\n"
                      "BEGINLASTSCREEN\n"
                      "If you see this, something is wrong.\n"
                      "ENDLASTSCREEN\n"
                      "ENDIF\n"),
              kRunStopped);
    EXPECT_EQ(errorLine(), 3);

    // One beginning with "Else" switches the branch on, with a warning.
    ASSERT_EQ(runMain("IF winver < 3\n"
                      "BEGINLASTSCREEN\n"
                      "Else you may go on.\n"
                      "ENDLASTSCREEN\n"
                      "ENDIF\n"),
              kRunSucceeded)
        << errorText();
    EXPECT_FALSE(script->lastScreen);
    ASSERT_FALSE(report.warnings.empty());
    EXPECT_EQ(report.warnings[0].lineNumber, 3);
    EXPECT_TRUE(test::warned(report.warnings, "screen text in a switched-off branch read as ELSE"));

    // An exit message's text is passed over up to the line whose keyword is EXIT; EXIT2 is not.
    ASSERT_EQ(runMain("IF winver < 3\n"
                      "EXITMESSAGE\n"
                      "EXIT2 is no end\n"
                      "ELSE\n"
                      "TITLE \"wrong\"\n"
                      "EXIT\n"
                      "ENDIF\n"),
              kRunSucceeded)
        << errorText();
    EXPECT_EQ(script->title, "");
}

TEST_F(InterpreterTest, DeferredPassAppendsWhatTheAnswersChoose) {
    const std::string text = "ASK1 \"yes\" prompt=\"Samples?\"\n"
                             "BEGINGROUP 1\n"
                             "01 [X] Program\n"
                             "02 [ ] Help\n"
                             "ENDGROUP\n"
                             "IF $ASK1 = \"yes\"\n"
                             "FILE samples.zip\n"
                             "TITLE \"main pass only\"\n"
                             "ENDIF\n"
                             "IF group = 02\n"
                             "FILE help.hlp\n"
                             "ELSE\n"
                             "FILE nohelp.txt\n"
                             "ENDIF\n"
                             "FILE program.exe GROUP=01\n";
    ASSERT_EQ(runMain(text), kRunSucceeded) << errorText();
    ASSERT_EQ(script->fileEntries.size(), 1u);
    EXPECT_EQ(interpreter->reader().deferredBlocks().size(), 2u);

    globals.options.setSelected(1, true); // the user ticked Help
    ASSERT_EQ(runDeferred(), kRunSucceeded) << errorText();
    std::vector<std::string> names;
    for (const auto& entry : script->fileEntries)
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"program.exe", "samples.zip", "help.hlp"}));
    EXPECT_EQ(script->title, ""); // TITLE belongs to the main pass

    // Groups and questions were asked before the deferred pass: there they are errors.
    ASSERT_EQ(runMain("BEGINGROUP 1\n01 [X] a\nENDGROUP\nIF group = 1\nASK2 \"\" prompt=\"x\"\n"
                      "ENDIF\n"),
              kRunSucceeded);
    globals.options.setSelected(0, true);
    EXPECT_EQ(runDeferred(), kRunStopped);
    EXPECT_EQ(errorLine(), 5);
}

} // namespace
} // namespace kestrel::script
