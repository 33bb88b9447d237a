// Every keyword reaches its command: one line each, and what it left in the script or the
// process-wide settings; then lines each command must refuse.
#include "interpreter_fixture.h"
#include "lexical/overwrite_mode.h"
#include "support/warnings.h"

#include <functional>

namespace kestrel::script {
namespace {

using test::InterpreterTest;

struct KeywordCase {
    const char* text;
    std::function<bool(const InstallScript&, const PluginGlobals&)> took;
};

const KeywordCase kKeywordCases[] = {
    {"rem anything at all", [](auto& s, auto&) { return s.title.empty(); }},
    {"IF winver >= 4\nTITLE \"on\"\nELSE\nTITLE \"off\"\nendif",
     [](auto& s, auto&) { return s.title == "on"; }},
    {"TITLE \"Demo\" \"Times New Roman\" 28 Bold italic UNDERLINE",
     [](auto& s, auto& g) {
         const TitleFont& f = g.settings.titleFont;
         return s.title == "Demo" && f.face == "Times New Roman" && f.size == 28 && f.bold &&
                f.italic && f.underline;
     }},
    {"TITLECOLOR (255,128,0)",
     [](auto& s, auto&) {
         return s.titleColour == ui::Colour{255, 128, 0};
     }},
    {"ScreenColor Red",
     [](auto& s, auto&) {
         return s.screenColourTop == ui::Colour{255, 0, 0} &&
                s.screenColourBottom == ui::Colour{255, 0, 0};
     }},
    {"SCREENCOLOR White (0, 0, 64)",
     [](auto& s, auto&) {
         return s.screenColourTop == ui::Colour{255, 255, 255} &&
                s.screenColourBottom == ui::Colour{0, 0, 64};
     }},
    {"FONTNAME \"Arial\"", [](auto&, auto& g) { return g.settings.screenFont == "Arial"; }},
    {"FONTNAME Arial", [](auto&, auto& g) { return g.settings.screenFont.empty(); }},
    {"SHOWREADME readme.txt", [](auto& s, auto&) { return s.readmeFile == "readme.txt"; }},
    {"MINCPUTYPE 80486", [](auto& s, auto&) { return s.minCpu == 486; }},
    {"MINDISKSPACE 1.5M", [](auto& s, auto&) { return s.minDiskSpace == 1500000; }},
    {"PROGRESSBAR 500k", [](auto& s, auto&) { return s.progressTotal == 500000; }},
    {"overwritefile new",
     [](auto&, auto& g) { return g.settings.overwriteMode == lexical::OverwriteMode::New; }},
    {"COMPRESSION LHA", [](auto&, auto& g) { return g.settings.compression == Compression::Lha; }},
    {"UNINSTALL YES", [](auto&, auto& g) { return g.settings.uninstall; }},
    {"REBOOTWINDOWS",
     [](auto&, auto& g) { return g.settings.rebootMode == RebootMode::RestartWindows; }},
    {"REBOOTSYSTEM",
     [](auto&, auto& g) { return g.settings.rebootMode == RebootMode::RestartSystem; }},
    {"REBOOT window",
     [](auto&, auto& g) { return g.settings.rebootMode == RebootMode::RestartWindows; }},
    {"RUNATSTART \"$WINDIR$\\notepad.exe\"",
     [](auto& s, auto&) { return s.runAtStart.text() == "C:\\WINDOWS\\notepad.exe"; }},
    {"RUNATEXIT \"$DEFAULTDIR$\\app.exe\"",
     [](auto& s, auto&) {
         return s.runAtExit.size() == 1 && s.runAtExit[0].text() == "$DEFAULTDIR$\\app.exe";
     }},
    {"REGSERVER \"$DEFAULTDIR$\\ctl.ocx\"",
     [](auto&, auto& g) { return g.settings.regServers.back() == "$DEFAULTDIR$\\ctl.ocx"; }},
    {"SCREENGRAPHIC back.bmp tile",
     [](auto& s, auto&) {
         return s.screenGraphic && s.screenGraphic->fileName == "back.bmp" &&
                s.screenGraphic->position == PicturePosition::Tile;
     }},
    {"INTROSCREEN \"intro.bmp\" 5",
     [](auto& s, auto&) {
         return s.introScreen && s.introScreen->fileName == "intro.bmp" &&
                s.introScreen->seconds == 5;
     }},
    {"DEFAULTDIR \\APPS\\DEMO prompt=\"Where to?\" NOASKDRIVE",
     [](auto& s, auto& g) {
         return s.defaultDir && s.defaultDir->path == "C:\\APPS\\DEMO" &&
                s.defaultDir->promptText == "Where to?" && s.defaultDir->promptGiven &&
                s.defaultDir->askMode == AskMode::Directory &&
                g.macros.defaultDir() == "C:\\APPS\\DEMO" && g.macros.defaultDrive() == "C";
     }},
    {"DIR2 $WINDIR$\\SYSTEM NOASKDIR",
     [](auto& s, auto& g) {
         return s.dir2 && s.dir2->path == "$WINDIR$\\SYSTEM" && s.dir2->askMode == AskMode::Drive &&
                g.macros.dir2() == "$WINDIR$\\SYSTEM";
     }},
    {"DIR3 $DEFAULTDIR$\\DATA NOASKDIR NOASKDRIVE",
     [](auto& s, auto& g) {
         return s.dir3 && s.dir3->path == "$DEFAULTDIR$\\DATA" &&
                s.dir3->askMode == AskMode::Nothing && g.macros.dir3() == "$DEFAULTDIR$\\DATA";
     }},
    {"ASK3 \"Jane\" prompt = \"Your name?\"",
     [](auto& s, auto& g) {
         return s.asks[2] && s.asks[2]->answer == "Jane" && s.asks[2]->promptText == "Your name?" &&
                g.macros.ask(3) == "Jane";
     }},
    {"FILE app.exe GROUP=1",
     [](auto& s, auto&) {
         return s.fileEntries.size() == 1 && s.fileCount == 1 &&
                s.fileEntries[0].name == "app.exe" && s.fileEntries[0].groups[0] == 0;
     }},
    {"INSERTDISK \"Disk 2\" \"DISK2\"",
     [](auto& s, auto&) {
         return s.fileEntries.size() == 1 && s.fileCount == 0 &&
                s.fileEntries[0].kind == files::EntryKind::DiskWithLabel;
     }},
    {"BEGINREGISTRY\nKEY NEW \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Demo\"\nENDREGISTRY",
     [](auto& s, auto&) {
         return s.registryBlocks.size() == 1 && s.registryBlocks[0].subkeyPath == "SOFTWARE\\Demo";
     }},
    {"BEGINFIRSTSCREEN \"Courier\" 12\nHello\nENDFIRSTSCREEN",
     [](auto& s, auto&) {
         return s.firstScreen && s.firstScreen->lines == std::vector<std::string>{"Hello"};
     }},
    {"BEGINLASTSCREEN\nDone\n\nBye\nENDLASTSCREEN",
     [](auto& s, auto&) {
         return s.lastScreen && s.lastScreen->lines == std::vector<std::string>{"Done", "", "Bye"};
     }},
    {"POPMESSAGE 4 \"Courier\" 9\nCopying\nENDPOP",
     [](auto& s, auto&) {
         return s.popMessages.size() == 1 && s.popMessages[0].number == 4 &&
                s.popMessages[0].fontFace == "Courier" && s.popMessages[0].fontSize == 9;
     }},
    {"BEGINGROUP EXCLUSIVE\n01 [X] Typical\n02 [ ] Minimal\nENDGROUP",
     [](auto& s, auto& g) {
         return s.defaultGroup.screen && s.defaultGroup.exclusive &&
                s.defaultGroup.endOption == 2 && g.options.preselected(0) &&
                g.options.optionOfGroup(2) == 1;
     }},
    {"AUTOEXEC ASK ADDPATH ADD=\"SET DEMO=1\"",
     [](auto& s, auto&) {
         return s.autoexec.mode == sysedit::EditMode::ModifyThenAsk && s.autoexec.addDestination &&
                s.autoexec.lineList.size() == 1;
     }},
    {"CONFIG FILEMIN=40", [](auto& s, auto&) { return s.config.filesMinimum == 40; }},
    {"WINITEM \"Demo\" \"$DEFAULTDIR$\\demo.exe\" \"Demo\"",
     [](auto& s, auto&) { return s.winItems.size() == 1 && s.winItems[0].itemName == "Demo"; }},
    {"INIFILE \"Demo\" \"Path\" \"$DEFAULTDIR$\" demo.ini",
     [](auto& s, auto&) { return s.iniEdits.size() == 1 && s.iniEdits[0].file == "demo.ini"; }},
    {"ADDTEXT \"SET DEMO=1\" \"C:\\AUTOEXEC.BAT\" \"-1\"",
     [](auto& s, auto&) {
         return s.textInsertions.size() == 1 && s.textInsertions[0].where == "-1";
     }},
    {"DELETE \"$DEFAULTDIR$\\old.dll\"",
     [](auto& s, auto&) { return s.deletes.size() == 1 && s.deletes[0].path.size() == 20; }},
    {"RENAME old.ini \"new name.ini\"",
     [](auto& s, auto&) {
         return s.renames.size() == 1 && s.renames[0].oldName == "old.ini" &&
                s.renames[0].newName == "new name.ini";
     }},
    {"WINDOWBACKGROUND 1 2 3", [](auto& s, auto&) { return s.title.empty(); }},
};

TEST_F(InterpreterTest, EveryKeywordReachesItsCommand) {
    globals.macros.setWindowsDir("C:\\WINDOWS");
    for (const KeywordCase& c : kKeywordCases) {
        // FILE's GROUP=1 needs a group that labels an option 1.
        const std::string text = std::string(c.text).rfind("FILE", 0) == 0
                                     ? "BEGINGROUP\n01 [ ] x\nENDGROUP\n" + std::string(c.text)
                                     : std::string(c.text);
        ASSERT_EQ(runMain(text), kRunSucceeded) << c.text << "\n" << errorText();
        EXPECT_TRUE(c.took(*script, globals)) << c.text;
    }
    // A screen's own face and size belong to that block only.
    ASSERT_EQ(runMain("BEGINFIRSTSCREEN \"Courier\" 12\nHello\nENDFIRSTSCREEN\n"), kRunSucceeded);
    EXPECT_TRUE(interpreter->state().blockFontFace.empty());
    EXPECT_EQ(interpreter->state().blockFontSize, 0);
}

TEST_F(InterpreterTest, PromptTextsReplaceTheirTexts) {
    using P = PromptTexts;
    using G = GlobalSettings;
    const std::pair<const char*, std::string P::*> kScriptTexts[] = {
        {"COPYFILEPROMPT", &P::copyFile}, {"AUTOEXECPROMPT", &P::autoexec},
        {"CONFIGPROMPT", &P::config},     {"CPUPROMPT", &P::cpu},
        {"INIFILEPROMPT", &P::iniFile},   {"INSERTDISKPROMPT", &P::insertDisk},
        {"LOCATEPROMPT", &P::locate},     {"NOGROUPPROMPT", &P::noGroup},
        {"NOSPACEPROMPT", &P::noSpace},   {"QUITPROMPT", &P::quit},
        {"REBOOTPROMPT", &P::reboot},
    };
    const std::pair<const char*, std::string G::*> kGlobalTexts[] = {
        {"BADDIRPROMPT", &G::badDirectoryText},
        {"OKPROMPT", &G::okText},
        {"CANCELPROMPT", &G::cancelText},
        {"BADDRIVEPROMPT", &G::badDriveText},
        {"FILEEXISTPROMPT", &G::fileExistsText},
        {"FILENOTFOUNDPROMPT", &G::fileNotFoundText},
        {"UNINSTALLBEGINPROMPT", &G::uninstallBeginText},
        {"UNINSTALLENDPROMPT", &G::uninstallEndText},
        {"uninstalltitleprompt", &G::uninstallTitleText},
    };
    for (const auto& [keyword, member] : kScriptTexts) {
        ASSERT_EQ(runMain(std::string(keyword) + " \"New text\"\n"), kRunSucceeded) << keyword;
        EXPECT_EQ(script->prompts.*member, "New text") << keyword;
    }
    for (const auto& [keyword, member] : kGlobalTexts) {
        ASSERT_EQ(runMain(std::string(keyword) + " \"New text\"\n"), kRunSucceeded) << keyword;
        EXPECT_EQ(globals.settings.*member, "New text") << keyword;
    }
    // An unquoted text empties the field; the uninstall texts may not be empty.
    EXPECT_EQ(runMain("QUITPROMPT Really quit?\n"), kRunSucceeded);
    EXPECT_EQ(script->prompts.quit, "");
    EXPECT_EQ(runMain("UNINSTALLENDPROMPT Gone\n"), kRunStopped);
    // 499 characters fit; 500 do not. Line-length texts take whatever fits on the line.
    EXPECT_EQ(runMain("OKPROMPT \"" + std::string(499, 'o') + "\"\n"), kRunSucceeded);
    EXPECT_EQ(runMain("OKPROMPT \"" + std::string(500, 'o') + "\"\n"), kRunStopped);
    EXPECT_EQ(runMain("CPUPROMPT \"" + std::string(900, 'c') + "\"\n"), kRunSucceeded);
}

TEST_F(InterpreterTest, MalformedLinesAreErrors) {
    const std::string longFace(31, 'f');
    const std::vector<std::string> lines = {
        "TITLE",
        "TITLE \"x\" Heavy",
        "TITLE \"" + std::string(501, 't') + "\"",
        "FONTNAME \"" + longFace + "\"",
        "SHOWREADME " + std::string(499, 'r'),
        "MINCPUTYPE 486",
        "MINDISKSPACE 2M 100",
        "MINDISKSPACE 5000M",
        "PROGRESSBAR",
        "OVERWRITEFILE SOMETIMES",
        "COMPRESSION",
        "COMPRESSION ZIP",
        "UNINSTALL MAYBE",
        "REBOOT",
        "REBOOT Now",
        "RUNATSTART setup.exe",
        "RUNATSTART \"\"",
        "RUNATEXIT",
        "REGSERVER",
        "SCREENGRAPHIC back.bmp CORNER",
        "DEFAULTDIR",
        "DEFAULTDIR C:\\APP prompt \"Where?\"",
        "DEFAULTDIR C:\\APP NOASK",
        "DEFAULTDIR \\" + std::string(497, 'd'),
        "ASK1 yes prompt=\"Sure?\"",
        "ASK1 \"yes\"",
        "ASK1 \"yes\" prompt \"Sure?\"",
        "ASK5 \"yes\" prompt=\"" + std::string(601, 'q') + "\"",
        "FILE app.exe BOGUS",
        "FILE app.exe GROUP=5",
        "POPMESSAGE",
        "POPMESSAGE x",
        "POPMESSAGE 1 \"" + longFace + "\"\nText\nENDPOP",
        "AUTOEXEC FOO",
        "CONFIG ADD",
        "INIFILE \"s\" \"k\" \"v\" win.ini BOGUS",
        "ADDTEXT \"line\"",
        "DELETE",
        "RENAME a",
        "KEY NEW \"HKEY_CURRENT_USER\\x\"",
    };
    for (const std::string& line : lines) {
        EXPECT_EQ(runMain("REM\n" + line + "\n"), kRunStopped) << line;
        EXPECT_EQ(errorLine(), 2) << line;
    }
}

TEST_F(InterpreterTest, LenientLinesAreTakenAsTheLanguageReadsThemWithAWarning) {
    struct Case {
        std::string text; // after a REM line: what it says is line 2
        const char* warning;
        std::function<bool(const InstallScript&, const PluginGlobals&)> took;
    };
    const ui::Colour titleDefault{128, 128, 255};
    const Case cases[] = {
        {"TITLECOLOR Purple", "unknown colour",
         [&](auto& s, auto&) { return s.titleColour == titleDefault; }},
        {"TITLECOLOR", "no colour", [&](auto& s, auto&) { return s.titleColour == titleDefault; }},
        {"TITLECOLOR (300,256,-1)", "its low byte",
         [](auto& s, auto&) {
             return s.titleColour == ui::Colour{44, 0, 255};
         }},
        {"TITLECOLOR (255,128)", "fewer than three",
         [](auto& s, auto&) {
             return s.titleColour == ui::Colour{255, 128, 0};
         }},
        {"TITLECOLOR (255,128,0", "unclosed parenthesis",
         [&](auto& s, auto&) { return s.titleColour == titleDefault; }},
        {"SCREENCOLOR", "no colour",
         [](auto& s, auto&) {
             return s.screenColourBottom == ui::Colour{0, 0, 0};
         }},
        {"SCREENCOLOR Blue (300,0,0)", "its low byte",
         [](auto& s, auto&) {
             return s.screenColourBottom == ui::Colour{44, 0, 0};
         }},
        {"TITLE=\"x\"", "unquoted title", [](auto& s, auto&) { return s.title.empty(); }},
        {"TITLE \"x\" 28pt", "read as 28",
         [](auto&, auto& g) { return g.settings.titleFont.size == 28; }},
        {"FONTNAME Arial", "unquoted font face",
         [](auto&, auto& g) { return g.settings.screenFont.empty(); }},
        {"QUITPROMPT Really quit?", "unquoted text",
         [](auto& s, auto&) { return s.prompts.quit.empty(); }},
        {"SHOWREADME \"read me.txt", "unterminated quote",
         [](auto& s, auto&) { return s.readmeFile.empty(); }},
        {"MINCPUTYPE 80486DX", "read as 486", [](auto& s, auto&) { return s.minCpu == 486; }},
        {"MINDISKSPACE lots", "read as 0", [](auto& s, auto&) { return s.minDiskSpace == 0; }},
        {"PROGRESSBAR 1.5Mb", "read as 1500000",
         [](auto& s, auto&) { return s.progressTotal == 1500000; }},
        {"INTROSCREEN", "no picture file",
         [](auto& s, auto&) { return s.introScreen && s.introScreen->fileName.empty(); }},
        {"SCREENGRAPHIC", "no picture file",
         [](auto& s, auto&) { return s.screenGraphic && s.screenGraphic->fileName.empty(); }},
        {"INTROSCREEN intro.bmp 5s", "read as 5",
         [](auto& s, auto&) { return s.introScreen && s.introScreen->seconds == 5; }},
        {"ASK1 \"yes\" prompt=Sure?", "unquoted prompt",
         [](auto& s, auto&) { return s.asks[0] && s.asks[0]->promptText.empty(); }},
        {"BEGINGROUP EXCLUSEVE 3\n01 [ ] a\nENDGROUP", "read as the group number 0",
         [](auto& s, auto&) {
             return s.groups.size() == 1 && s.groups[0].groupNumber == 0 && !s.groups[0].exclusive;
         }},
        {"BEGINGROUP 3 EXCLUSIVE\n01 [ ] a\nENDGROUP", "only before the number",
         [](auto& s, auto&) { return s.groups.size() == 1 && !s.groups[0].exclusive; }},
        {"BEGINGROUP Extras\n01 [ ] a\nENDGROUP", "the default group",
         [](auto& s, auto&) { return s.groups.empty() && s.defaultGroup.screen; }},
        {"POPMESSAGE 4x\nText\nENDPOP", "read as 4",
         [](auto& s, auto&) { return s.popMessages.size() == 1 && s.popMessages[0].number == 4; }},
        {"BEGINLASTSCREEN Courier 12\nHi\nENDLASTSCREEN", "read as 0",
         [](auto& s, auto&) { return s.lastScreen.has_value(); }},
        {"WINITEM", "without a group name", [](auto& s, auto&) { return s.winItems.size() == 1; }},
        {"REBOOTWINDOWS now", "text after the command",
         [](auto&, auto& g) { return g.settings.rebootMode == RebootMode::RestartWindows; }},
        {"IF winver > 3 or so\nENDIF", "text after the condition",
         [](auto&, auto&) { return true; }},
        // Texts end at a NUL: a lone word is passed over, a quote is never closed.
        {std::string("SPLASH\0 screen.bmp", 18), "NUL byte", [](auto&, auto&) { return true; }},
        {std::string("TITLE \"ab\0cd\"", 13), "unterminated quote",
         [](auto& s, auto&) { return s.title.empty(); }},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(runMain("REM\n" + c.text + "\n"), kRunSucceeded) << c.text << "\n" << errorText();
        EXPECT_TRUE(c.took(*script, globals)) << c.text;
        EXPECT_TRUE(test::warned(report.warnings, c.warning)) << c.text;
        for (const ScriptDiagnostic& warning : report.warnings)
            EXPECT_EQ(warning.lineNumber, 2) << c.text << ": " << warning.message;
    }
}

TEST_F(InterpreterTest, GroupsAndPopMessagesStopAtSixteen) {
    std::string groups;
    std::string pops;
    for (int i = 1; i <= 16; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        groups +=
            "BEGINGROUP " + std::to_string(i) + "\n" + n + " [ ] Option " + n + "\nENDGROUP\n";
        pops += "POPMESSAGE " + std::to_string(i) + "\nText\nENDPOP\n";
    }
    ASSERT_EQ(runMain(groups + pops), kRunSucceeded) << errorText();
    ASSERT_EQ(script->groups.size(), 16u);
    EXPECT_EQ(script->groups[3].firstOption, 3);
    EXPECT_EQ(script->groups[3].firstOptionBit, 8u);
    EXPECT_EQ(script->groups[3].endOption, 4);
    EXPECT_EQ(script->groups[15].groupNumber, 16);

    EXPECT_EQ(runMain(groups + "BEGINGROUP 17\n17 [ ] x\nENDGROUP\n"), kRunStopped);
    EXPECT_EQ(errorLine(), 49);
    EXPECT_EQ(runMain(pops + "POPMESSAGE 17\nText\nENDPOP\n"), kRunStopped);
    EXPECT_EQ(errorLine(), 49);
    // The group without a number is not one of the sixteen.
    EXPECT_EQ(runMain(groups + "BEGINGROUP\n20 [ ] x\nENDGROUP\n"), kRunSucceeded);
}

} // namespace
} // namespace kestrel::script
