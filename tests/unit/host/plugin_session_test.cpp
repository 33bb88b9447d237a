// Whole installations through the session, as the plug-in window and the browser drive it.
#include "unit/host/engine_fixture.h"

namespace kestrel::test {
namespace {

const char* const kFiles = "UNINSTALL YES\n"
                           "DEFAULTDIR C:\\APP NOASKDRIVE NOASKDIR\n"
                           "SHOWREADME readme.txt\n"
                           "RUNATEXIT \"view.exe $DEFAULTDIR$\\a.txt\"\n"
                           "FILE a.txt\n"
                           "FILE b.txt SOURCE=\\pub\n"
                           "FILE c.txt SOURCE=http://other.test/x\n"
                           "FILE d.txt SOURCE=C:\\LOCAL\n"
                           "FILE sub\\e.txt SOURCE=disk1\n";

TEST_F(EngineTest, FetchesFilesOneAtATimeInListOrderAndLogsEveryChange) {
    web = {{"http://example.test/setup/a.txt", "A"},
           {"http://example.test/pub/b.txt", "B"},
           {"http://other.test/x/c.txt", "C"},
           {"http://example.test/setup/disk1/e.txt", "E"}};
    files.requireDirectories = true;
    files.directories.insert("C:\\LOCAL");
    files.add("C:\\LOCAL\\d.txt", "D");
    ASSERT_TRUE(start(kFiles));
    EXPECT_TRUE(browser.enlarged);
    run();
    EXPECT_EQ(browser.requested,
              (std::vector<std::string>{
                  "http://example.test/setup/a.txt", "http://example.test/pub/b.txt",
                  "http://other.test/x/c.txt", "http://example.test/setup/disk1/e.txt"}));
    EXPECT_EQ(mostOutstanding, 1u);
    for (const auto& [path, bytes] : std::map<std::string, std::string>{
             {"C:\\APP\\a.txt", "A"}, {"C:\\APP\\d.txt", "D"}, {"C:\\APP\\sub\\e.txt", "E"}})
        EXPECT_EQ(files.files.at(path).bytes, bytes) << path;
    EXPECT_EQ(files.files.at("C:\\APP\\a.txt").stamp, webStamp);
    EXPECT_EQ(log(), "DEFAULTDIR: \"C:\\APP\"\nDIRECTORY: C:\\APP\n\n"
                     "UNINSTALLBEGINPROMPT: \"Do you want this application removed from your "
                     "system?\"\n"
                     "UNINSTALLENDPROMPT: \"This application has been successfully removed "
                     "from your system.\"\n"
                     "UNINSTALLTITLEPROMPT: \"UnInstall\"\n"
                     "FILE: \"C:\\APP\\a.txt\"\nFILE: \"C:\\APP\\b.txt\"\nFILE: "
                     "\"C:\\APP\\c.txt\"\nFILE: \"C:\\APP\\d.txt\"\n"
                     "DIRECTORY: C:\\APP\\sub\n\nFILE: \"C:\\APP\\sub\\e.txt\"\n");
    EXPECT_EQ(dialogs.openedWithFiles, 5);
    EXPECT_EQ(dialogs.filesFinished, 5);
    EXPECT_EQ(browser.endRequests, std::vector<bool>{true});
    EXPECT_EQ(process.outcome, kOutcomeCompleted);

    leavePage();
    EXPECT_EQ(processes.started,
              (std::vector<std::string>{"notepad C:\\APP\\readme.txt", "view.exe C:\\APP\\a.txt"}));
    EXPECT_EQ(process.running, nullptr);
}

TEST_F(EngineTest, AFailedStartOrAnAbortLeavesNothingToRunAndAsksNothing) {
    const struct {
        const char* what;
        const char* script;
        std::function<void()> arrange;
        bool starts;
        std::vector<std::string> messages;
    } cases[] = {
        {"script error", "BOGUS words here\n", {}, false, {"BOGUS words here"}},
        {"cancel in the second question",
         "ASK1 \"a\" prompt=\"First?\"\nASK2 \"b\" prompt=\"Second?\"\n",
         [&] {
             dialogs.askAnswers = {"x", std::nullopt};
         },
         true,
         {}},
        {"missing file",
         "DEFAULTDIR C:\\APP NOASKDRIVE NOASKDIR\nFILE a.txt\nFILE gone.txt\n",
         [&] {
             web = {{"http://example.test/setup/a.txt", "A"}};
         },
         true,
         {"File not found: http://example.test/setup/gone.txt"}},
        {"processor",
         "MINCPUTYPE 80586\n",
         [&] { details.processor = os::ProcessorFamily::I486; },
         true,
         {"This application requires a computer with a processor no less than: 586"}},
        {"disk space",
         "MINDISKSPACE 2M\n",
         [&] { volumes.free = 1000; },
         true,
         {"Not enough disk space on the destination drive for installation."}},
        {"last screen",
         "BEGINLASTSCREEN\nDone.\nENDLASTSCREEN\nDELETE C:\\KEEP\\k.txt\n",
         [&] { prompts.answers = {os::kIdCancel}; },
         true,
         {}},
    };
    for (const auto& c : cases) {
        session = std::make_unique<host::PluginSession>(process, services);
        prompts.messages.clear();
        browser = {};
        processes = {};
        dialogs = {};
        files.add("C:\\KEEP\\k.txt", "kept");
        if (c.arrange)
            c.arrange();
        const std::string script = std::string("UNINSTALL YES\nSHOWREADME readme.txt\n"
                                               "RUNATEXIT \"after.exe\"\nREBOOTSYSTEM\n") +
                                   c.script;
        EXPECT_EQ(start(script), c.starts) << c.what;
        run();
        EXPECT_EQ(prompts.texts(), c.messages) << c.what;
        EXPECT_EQ(browser.endRequests, std::vector<bool>{c.starts}) << c.what;
        EXPECT_EQ(process.outcome, kOutcomeFailed) << c.what;
        leavePage();
        EXPECT_TRUE(processes.started.empty()) << c.what;
        EXPECT_EQ(prompts.messages.size(), c.messages.size()) << c.what << ": no restart question";
        EXPECT_TRUE(files.files.count("C:\\KEEP\\k.txt")) << c.what;
        EXPECT_EQ(restart.restarts, 0) << c.what;
    }
}

TEST_F(EngineTest, RestartsOnlyWhenTheAnswerIsYes) {
    for (const os::PromptResult answer :
         {os::kIdNo, os::PromptResult(-1), os::kIdCancel, os::kIdYes}) {
        session = std::make_unique<host::PluginSession>(process, services);
        prompts.messages.clear();
        restart.restarts = 0;
        ASSERT_TRUE(start("REBOOTSYSTEM\n"));
        run();
        prompts.answers = {answer};
        leavePage();
        ASSERT_EQ(prompts.texts(), std::vector<std::string>{"Do you wish to reboot?"});
        EXPECT_EQ(restart.restarts, answer == os::kIdYes ? 1 : 0) << answer;
    }
    // A restart one installation wanted is not asked for by the next.
    session = std::make_unique<host::PluginSession>(process, services);
    prompts.messages.clear();
    ASSERT_TRUE(start("FILENOTFOUNDPROMPT \"x\"\n"));
    run();
    leavePage();
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EngineTest, StepsNobodyPostedChangeNothing) {
    web = {{"http://example.test/setup/r.txt", "R"}};
    files.add("C:\\APP\\old.txt", "old");
    ASSERT_TRUE(start("UNINSTALL YES\nDEFAULTDIR C:\\APP NOASKDRIVE NOASKDIR\n"
                      "RENAME C:\\APP\\old.txt C:\\APP\\new.txt\nFILE r.txt\n"));
    while (browser.outstanding.empty() && once()) {
    }
    ASSERT_EQ(browser.requested.size(), 1u);
    // Another window's use of the message, or a second start, while the file is on its way.
    for (host::StepCode code : {host::StepCode::Continue, host::StepCode::File,
                                host::StepCode::Abort, host::StepCode::IntroPicture})
        for (bool withPath : {false, true})
            session->step(code, withPath);
    EXPECT_EQ(browser.requested.size(), 1u);
    EXPECT_TRUE(browser.endRequests.empty());
    run();
    EXPECT_EQ(files.files.at("C:\\APP\\r.txt").bytes, "R");
    EXPECT_EQ(files.files.at("C:\\APP\\new.txt").bytes, "old");
    const std::string text = log();
    EXPECT_EQ(text.find("RENAME"), text.rfind("RENAME"));
    EXPECT_EQ(browser.endRequests, std::vector<bool>{true});
}

TEST_F(EngineTest, LeavingThePageDuringADialogEndsItAfterTheRunUnwinds) {
    ASSERT_TRUE(start("SHOWREADME r.txt\nREBOOTSYSTEM\nASK1 \"a\" prompt=\"Name?\"\n"));
    dialogs.whileOpen = [&] {
        leavePage();
        EXPECT_TRUE(session->busy());
        EXPECT_NE(process.running, nullptr); // still in use: freed only after the run
    };
    run();
    EXPECT_EQ(dialogs.cancelsOfOpenDialog, 1);
    EXPECT_FALSE(session->busy());
    EXPECT_EQ(process.running, nullptr);
    EXPECT_TRUE(processes.started.empty());
    EXPECT_TRUE(prompts.messages.empty());
    session->step(host::StepCode::Continue, false); // nothing left to act on
    EXPECT_EQ(process.outcome, kOutcomeFailed);

    // An abort that arrives while a question is open is acted on once the question returns.
    session = std::make_unique<host::PluginSession>(process, services);
    dialogs = {};
    browser = {};
    ASSERT_TRUE(start("ASK1 \"a\" prompt=\"Name?\"\nASK2 \"b\" prompt=\"Town?\"\n"));
    dialogs.whileOpen = [&] {
        session->abortInstallation();
        once(); // the abort step arrives meanwhile
        EXPECT_TRUE(browser.endRequests.empty());
    };
    run();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"ask:Name?"});
    EXPECT_EQ(browser.endRequests, std::vector<bool>{true});
    EXPECT_EQ(process.outcome, kOutcomeFailed);
}

TEST_F(EngineTest, ADiskIsAskedForOnceAndEachDeliveredFileGoesToItsOwnEntry) {
    web = {{"http://example.test/web/x.txt", "X"}, {"http://example.test/web/y.txt", "Y"}};
    ASSERT_TRUE(start("DEFAULTDIR C:\\APP NOASKDRIVE NOASKDIR\n"
                      "BEGINGROUP\nPick:\n01 [X] One\n02 [ ] Two\nENDGROUP\n"
                      "INSERTDISK \"Disk 2\"\n"
                      "FILE skipped.txt GROUP=02 SOURCE=\\web\n"
                      "FILE x.txt GROUP=01 SOURCE=\\web\n"
                      "FILE y.txt SOURCE=\\web\n"));
    run();
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Please insert Disk 2"});
    EXPECT_EQ(browser.requested, (std::vector<std::string>{"http://example.test/web/x.txt",
                                                           "http://example.test/web/y.txt"}));
    EXPECT_EQ(files.files.at("C:\\APP\\x.txt").bytes, "X");
    EXPECT_EQ(files.files.at("C:\\APP\\y.txt").bytes, "Y");
    EXPECT_EQ(process.outcome, kOutcomeCompleted);
}

TEST_F(EngineTest, MissingPicturesLetTheInstallationGoOn) {
    web = {{"http://example.test/setup/a.txt", "A"}};
    ASSERT_TRUE(start("INTROSCREEN intro.bmp 3\nSCREENGRAPHIC pic.bmp\n"
                      "DEFAULTDIR C:\\APP NOASKDRIVE NOASKDIR\nFILE a.txt\n"));
    // The intro picture's stream ends without handing over a file at all.
    ASSERT_EQ(browser.outstanding.size(), 1u);
    browser.outstanding.clear();
    session->downloadError("http://example.test/setup/intro.bmp");
    run();
    EXPECT_EQ(browser.requested, (std::vector<std::string>{"http://example.test/setup/intro.bmp",
                                                           "http://example.test/setup/pic.bmp",
                                                           "http://example.test/setup/a.txt"}));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(files.files.at("C:\\APP\\a.txt").bytes, "A");
    EXPECT_EQ(process.outcome, kOutcomeCompleted);
}

TEST_F(EngineTest, ArchiveVolumesComeFromTheWebWhileTheRunWaits) {
    test::WritableMemoryFileSystem scratch;
    files::PackedArchiveWriter writer(
        scratch, {600, files::LiteralChoice::Auto, files::ImplodeDictionary::Size4096});
    files::ArchiveWriteError error;
    scratch.add("in\\big.bin", test::noise(2000, 3));
    ASSERT_TRUE(writer.addMember("in\\big.bin", "big.bin", error));
    ASSERT_TRUE(writer.write("W:\\DEMO.ARC", error));
    std::string script = "DEFAULTDIR C:\\APP NOASKDRIVE NOASKDIR\n";
    for (const std::string& volume : writer.volumePaths()) {
        web["http://example.test/setup/" + volume.substr(3)] = scratch.files.at(volume).bytes;
        script += "FILE " + volume.substr(3) + "\n";
    }
    ASSERT_GE(writer.volumePaths().size(), 3u);
    ASSERT_TRUE(start(script));
    // While the run waits for a volume, the window keeps serving the browser.
    browser.whileWaiting = [&] { once(); };
    run();
    EXPECT_EQ(files.files.at("C:\\APP\\big.bin").bytes, test::noise(2000, 3));
    EXPECT_EQ(browser.requested.size(), writer.volumePaths().size());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(process.outcome, kOutcomeCompleted);
}

} // namespace
} // namespace kestrel::test
