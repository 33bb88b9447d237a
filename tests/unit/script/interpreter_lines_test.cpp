// Where the interpreter places its errors: the line numbers count every physical line, blank
// and REM lines, the lines block commands take and the lines of deferred blocks included.
#include "interpreter_fixture.h"

namespace kestrel::script {
namespace {

using test::InterpreterTest;

TEST_F(InterpreterTest, ErrorNamesItsLineAfterBlankAndRemLines) {
    EXPECT_EQ(runMain("REM setup\n\n   \nTITLE \"Demo\"\r\n\r\nOVERWRITEFILE MAYBE\nTITLE \"x\"\n"),
              kRunStopped);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Unrecognized command: line: 6");
    EXPECT_EQ(prompts.messages[0].text, "OVERWRITEFILE MAYBE");
    EXPECT_EQ(prompts.messages[0].type, os::kMbIconExclamation);
    EXPECT_EQ(script->title, "Demo"); // what came before the error stays
}

TEST_F(InterpreterTest, BlocksCountTheLinesTheyTake) {
    const std::string blocks = "BEGINREGISTRY\n"                                 // 1
                               "KEY NEW \"HKEY_CURRENT_USER\\Software\\Demo\"\n" // 2
                               "REM inside\n"                                    // 3
                               "VALUE STRING NEW \"Dir\" \"$DEFAULTDIR$\"\n"     // 4
                               "ENDREGISTRY\n"                                   // 5
                               "BEGINFIRSTSCREEN\n"                              // 6
                               "Welcome\n"                                       // 7
                               "\n"                                              // 8
                               "If you go on, files are copied.\n"               // 9
                               "ENDFIRSTSCREEN\n"                                // 10
                               "BEGINGROUP 1\n"                                  // 11
                               "  Pick:\n"                                       // 12
                               "01 [X] Program\n"                                // 13
                               "02 [ ] Help\n"                                   // 14
                               "ENDGROUP\n"                                      // 15
                               "POPMESSAGE 3\n"                                  // 16
                               "Copying\n"                                       // 17
                               "ENDPOP\n";                                       // 18
    EXPECT_EQ(runMain(blocks + "COMPRESSION ZIP\n"), kRunStopped);
    EXPECT_EQ(errorLine(), 19);
}

TEST_F(InterpreterTest, AStopNamesTheLineAtFault) {
    const struct {
        const char* text;
        int line;
        const char* shown; // the line the message shows
    } cases[] = {
        // Inside a block: the line at fault.
        {"REM\nBEGINREGISTRY\nKEY NEW \"HKEY_CURRENT_USER\\A\"\nVALUE STRANGE NEW \"x\" \"y\"\n"
         "ENDREGISTRY\n",
         4, "VALUE STRANGE NEW \"x\" \"y\""},
        {"TITLE \"t\"\nBEGINGROUP 2\n01 [ ] One\n02 Two\nENDGROUP\n", 4, "02 Two"},
        // A registry block or a switched-off branch that never ends: its first line.
        {"REM\nBEGINREGISTRY\nKEY NEW \"HKEY_CURRENT_USER\\A\"\n", 2, "BEGINREGISTRY"},
        {"REM\nIF winver < 1\nFILE a\n\n", 2, "IF winver < 1"},
        // ELSE twice, ENDIF without IF.
        {"IF winver > 3\nELSE\nELSE\nENDIF\n", 3, "ELSE"},
        {"\nENDIF\n", 2, "ENDIF"},
        // An unknown word with more after it; a line that starts with punctuation or a digit has
        // no keyword: comments are written with REM.
        {"\nSPLASH screen.bmp\n", 2, "SPLASH screen.bmp"},
        {"; a comment\n", 1, "; a comment"},
        {"3 files\n", 1, "3 files"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runMain(c.text), kRunStopped) << c.text;
        EXPECT_EQ(errorLine(), c.line) << c.text;
        EXPECT_EQ(errorText(), c.shown) << c.text;
    }
}

TEST_F(InterpreterTest, BlocksWithoutTheirEndRunToTheEndOfTheScript) {
    // A screen block takes every line there is, ENDIF included, with a warning on its line.
    ASSERT_EQ(runMain("IF winver > 3\nBEGINLASTSCREEN\nThanks\n\nENDIF\n"), kRunSucceeded);
    ASSERT_TRUE(script->lastScreen);
    EXPECT_EQ(script->lastScreen->lines, (std::vector<std::string>{"Thanks", "", "ENDIF"}));
    ASSERT_EQ(report.warnings.size(), 2u);
    EXPECT_EQ(report.warnings[0].lineNumber, 2);
    EXPECT_EQ(report.warnings[0].message,
              "no ENDLASTSCREEN: the block runs to the end of the script");
    EXPECT_EQ(report.warnings[1].lineNumber, 1); // and the IF's branch never ended

    // An exit message without EXIT shows its text and ends the installation, without an error.
    EXPECT_EQ(runMain("EXITMESSAGE\nSorry.\n"), kRunStopped);
    ASSERT_EQ(prompts.screens.size(), 1u);
    EXPECT_EQ(prompts.screens[0].lines, std::vector<std::string>{"Sorry."});
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(InterpreterTest, DeferredBlocksKeepTheLineNumbersTrue) {
    const std::string text = "ASK1 \"yes\" prompt=\"Install extras?\"\n" // 1
                             "IF $ASK1 = \"yes\"\n"                      // 2
                             "REM only the main pass reads this\n"       // 3
                             "TITLE \"dropped in the deferred pass\"\n"  // 4
                             "FILE extra.dll\n"                          // 5
                             "OVERWRITEFILE SOMETIMES\n"                 // 6
                             "ENDIF\n"                                   // 7
                             "\n"                                        // 8
                             "FILE main.exe\n";                          // 9
    EXPECT_EQ(runMain(text), kRunSucceeded);
    ASSERT_EQ(interpreter->reader().deferredBlocks().size(), 1u);
    EXPECT_EQ(interpreter->reader().deferredBlocks()[0].firstLineNumber(), 2);
    EXPECT_EQ(script->fileEntries.size(), 1u); // the block waits for the answer

    EXPECT_EQ(runDeferred(), kRunStopped);
    EXPECT_EQ(errorLine(), 6);
    EXPECT_EQ(errorText(), "OVERWRITEFILE SOMETIMES");
    EXPECT_EQ(script->fileEntries.size(), 2u); // extra.dll was appended before the error

    EXPECT_EQ(runMain(text + "RENAME only-one\n"), kRunStopped);
    EXPECT_EQ(errorLine(), 10);
}

TEST_F(InterpreterTest, DeferredPassRefusesMainPassOnlyBlocksWhereTheyStand) {
    EXPECT_EQ(runMain("ASK2 \"\" prompt=\"Name?\"\n"
                      "IF $ASK2 = \"\"\n"
                      "BEGINFIRSTSCREEN\n"
                      "Hello\n"
                      "ENDFIRSTSCREEN\n"
                      "ENDIF\n"),
              kRunSucceeded);
    EXPECT_EQ(runDeferred(), kRunStopped);
    EXPECT_EQ(errorLine(), 3);

    EXPECT_EQ(runMain("ASK2 \"\" prompt=\"Name?\"\nIF $ASK2 = \"\"\nREM\nBEGINFIRSTSCREEN\n"
                      "Hello\nENDIF\n"),
              kRunSucceeded);
    EXPECT_EQ(runDeferred(), kRunStopped);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, "Missing EndFirstScreen ");
    EXPECT_EQ(errorLine(), 4);
}

TEST_F(InterpreterTest, ConditionsWithoutTheirEndif) {
    // A taken branch that never ends runs to the end, with a warning on its IF line.
    ASSERT_EQ(runMain("IF winver >= 4\nFILE a\n"), kRunSucceeded);
    EXPECT_EQ(script->fileEntries.size(), 1u);
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].lineNumber, 1);
    // A deferred block the script's end cut short runs to the end of its lines in the deferred
    // pass; switched off there, it is an error on its IF line.
    const std::string cut = "ASK1 \"x\" prompt=\"?\"\nIF $ASK1 = \"y\"\nFILE a\n";
    ASSERT_EQ(runMain(cut), kRunSucceeded);
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].lineNumber, 2);
    EXPECT_EQ(runDeferred(), kRunStopped);
    EXPECT_EQ(errorLine(), 2);
    ASSERT_EQ(runMain(cut), kRunSucceeded);
    globals.macros.setAsk(1, "y");
    EXPECT_EQ(runDeferred(), kRunSucceeded);
    EXPECT_EQ(script->fileEntries.size(), 1u);
}

TEST_F(InterpreterTest, UnknownWordsAloneArePassedOver) {
    EXPECT_EQ(runMain("TITLE \"t\"\nSPLASH\n  \nWINDOWBACKGROUND Blue on white\n"
                      "YesNoKey Y N\n"),
              kRunSucceeded);
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].lineNumber, 2);
    EXPECT_EQ(report.warnings[0].line, "SPLASH");
    EXPECT_EQ(report.warnings[0].message, "unknown keyword, line passed over");
}

TEST_F(InterpreterTest, ScriptThatCannotBeOpenedSaysSo) {
    files.files.clear();
    script = std::make_unique<InstallScript>(globals, kSystemVersion, false);
    interpreter = std::make_unique<Interpreter>(*script, globals, services);
    EXPECT_EQ(interpreter->runScript("MISSING.KST").result, kRunStopped);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "File not found on the installation disk: MISSING.KST. ");
    EXPECT_EQ(prompts.messages[0].caption, " ");
}

} // namespace
} // namespace kestrel::script
