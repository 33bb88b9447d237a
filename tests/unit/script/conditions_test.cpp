#include "script/conditions.h"

#include "fakes/fake_machine.h"
#include "fakes/writable_memory_file_system.h"
#include "lexical/field_cursor.h"
#include "support/warnings.h"

#include <gtest/gtest.h>

namespace kestrel::script {
namespace {

using R = ConditionResult;
using test::FakeDirectoryTree;

class ConditionsTest : public ::testing::Test {
  protected:
    ConditionContext context() {
        return ConditionContext{
            .globals = globals,
            .system = system,
            .drives = drives,
            .directories = tree,
            .registry = registry,
            .versions = versions,
            .files = files,
            .found = found,
            .located = located,
            .errorFlag = errorFlag,
            .announceDriveSearch = [this](const std::string& name) { announced.push_back(name); },
            .bufferDeferredBlock =
                [this] {
                    ++blocksBuffered;
                    return bufferResult;
                },
            .warnings = {},
        };
    }
    // The condition of an IF line, as the interpreter hands it over behind the keyword.
    R main(const std::string& condition) {
        errorFlag = false;
        lexical::FieldCursor cursor(condition, &globals.macros);
        ConditionContext c = context();
        const R result = evaluateCondition(cursor, c);
        EXPECT_EQ(errorFlag, result == R::Error) << condition;
        warnings = c.warnings;
        return result;
    }
    R deferred(const std::string& condition) {
        errorFlag = false;
        lexical::FieldCursor cursor(condition, &globals.macros);
        ConditionContext c = context();
        const R result = evaluateDeferredCondition(cursor, c);
        EXPECT_EQ(errorFlag, result == R::Error) << condition;
        warnings = c.warnings;
        return result;
    }

    using Expected = std::pair<R, std::vector<const char*>>;
    // Every condition of each list comes to its result, in the main pass or the deferred one.
    void expectResults(const std::vector<Expected>& cases, bool inDeferredPass = false) {
        for (const auto& [result, conditions] : cases)
            for (const char* condition : conditions)
                EXPECT_EQ(inDeferredPass ? deferred(condition) : main(condition), result)
                    << condition;
    }

    PluginGlobals globals;
    test::FakeSystemInfo system;
    test::FakeDrives drives;
    FakeDirectoryTree tree;
    test::FakeRegistry registry;
    test::FakeFileVersions versions;
    test::WritableMemoryFileSystem files;
    FoundPosition found;
    bool located = false;
    bool errorFlag = false;
    std::vector<std::string> announced;
    int blocksBuffered = 0;
    int32_t bufferResult = 5;
    std::vector<std::string> warnings; // of the last evaluation
};

// A condition, what it comes to, and a fragment of the warning it gives (empty: none).
struct LenientCase {
    const char* condition;
    ConditionResult result;
    const char* warning;
};

TEST_F(ConditionsTest, MachineTestsCompareItsValuesAndUnknownNamesCompareAsText) {
    globals.windowsVersion = windowsVersionOf(0x0A03); // 3.10 reads as 3.1
    globals.dosVersion = dosVersionOf(0x06160000);     // 6.22
    system.memory = 8u << 20;
    system.display = {8, 1, 640, 480}; // 256 colours
    // Resolution below: width strictly, height not; both forms: strictly. A misspelled test
    // name ("winvr") is compared as text, no error.
    expectResults({
        {R::True,
         {"winver = 3.1", "winver <> 4", "winver = range 3.1 4", "winver = range 3 3.1",
          "dosver > 6.2 and more", "memory > 4096", "memory >= 8192", "video > 256 640 480",
          "video(>256,640,480)", "video > 640 480", "videoresolution < 641 480",
          "video < 256 641 481", "$LOCATEDIR$ = \"c:\\newfiles\"", "Hello = hello", "abc < abd"}},
        {R::False,
         {"winver(>=3.95)", "WINVER = RANGE 3.11 4", "dosver < 6.22", "memory < 8192",
          "video > 257", "video > 256 640 481", "videoresolution < 640 480", "video < 256 641 480",
          "videocolor <16", "Hello <> \"HELLO\"", "winvr = 4"}},
        {R::Error,
         {"winver = range 3", "winver => 3", "winver != 3", "memory 4096", "video = 256", "video >",
          "videocolor", "Hello hello"}},
    });

    system.memory = uint64_t{6} << 30;
    EXPECT_EQ(main("memory < 8388608"), R::True); // 8 GB: in 32 bits it would be 0
    EXPECT_EQ(main("memory > 4194304"), R::True);
    system.display = {32, 1, 1920, 1080};
    EXPECT_EQ(main("videocolor > 16777216"), R::True);
    EXPECT_EQ(main("videocolor < 4294967295"), R::False);
}

TEST_F(ConditionsTest, IsFileTestsFilesPatternsAndDirectories) {
    globals.macros.setWindowsDir("C:\\WINDOWS");
    tree.addFile("C:\\WINDOWS\\WIN.INI");
    tree.addDirectory("C:\\APPS\\EDIT");
    expectResults({{R::True,
                    {"isfile $WINDIR$\\WIN.INI", "isfile \"C:\\WINDOWS\\*.INI\"",
                     "isfile \"C:\\APPS\\EDIT\\\""}},
                   {R::False,
                    {"isfile C:\\WINDOWS\\SYSTEM.INI", "isfile C:\\APPS\\GONE\\",
                     "isfile C:"}}}); // "C:" names no file
    globals.macros.setWindowsDir("");
    EXPECT_EQ(main("isfile \"$WINDIR$\""), R::False); // expands to nothing
    EXPECT_EQ(main("isfile $WINDIR$"), R::False);
}

TEST_F(ConditionsTest, OcxVersionIsComparedAsText) {
    registry.classesRoot["CLSID\\{1234-AB}\\InprocServer32"] = "C:\\SYS\\GRID.OCX";
    versions.versions["C:\\SYS\\GRID.OCX"] = "10.0.0.0";
    registry.classesRoot["CLSID\\{FFFF}\\InprocServer32"] = "C:\\SYS\\NOVERSION.DLL";
    // The 16-bit server is not registered, and NOVERSION.DLL has none: version 0.0.0.0.
    expectResults(
        {{R::True,
          {"ocxfilever \"1234-AB\" 32 < \"9.0.0.0\"", "ocxfilever \"{1234-AB}\" 32 = \"10.0.0.0\"",
           "ocxfilever \"1234-AB\" 16 = \"0.0.0.0\"", "ocxfilever \"FFFF\" 32 < \"0.0.0.1\""}},
         {R::False, {"ocxfilever \"1234-AB}\" 32 >= \"10.0.0.1\""}},
         {R::Error,
          {"ocxfilever 1234-AB 32 = \"1\"", "ocxfilever \"1234-AB\" 64 = \"1\"",
           "ocxfilever \"1234-AB\" 32 = 1", "ocxfilever \"1234-AB\" 32 \"1\""}}});
}

TEST_F(ConditionsTest, SearchFindsTheFirstMatchingLineAndRecordsWhereItIs) {
    files.files["C:\\AUTOEXEC.BAT"].bytes = "@ECHO OFF\r\nSET PATH=C:\\DOS\r\nREM path c:\\bin\r\n"
                                            "path C:\\WINDOWS;C:\\DOS\r\n";
    files.maxRead = 7; // line ends split across reads
    EXPECT_EQ(main("search \"c:\\dos\" C:\\AUTOEXEC.BAT"), R::True);
    EXPECT_EQ(found.lineNumber, "2");
    EXPECT_EQ(found.left, "SET PATH=");
    EXPECT_EQ(found.right, "");
    // Only lines beginning with the prefix are looked at.
    EXPECT_EQ(main("search \"C:\\\" \"C:\\AUTOEXEC.BAT\" \"PATH \""), R::True);
    EXPECT_EQ(found.lineNumber, "4");
    EXPECT_EQ(found.left, "path ");
    EXPECT_EQ(found.right, "WINDOWS;C:\\DOS");
    EXPECT_EQ(main("search \"\" C:\\AUTOEXEC.BAT"), R::True);
    EXPECT_EQ(found.lineNumber, "1");
    EXPECT_EQ(found.right, "@ECHO OFF");

    found = {};
    EXPECT_EQ(main("search \"WIN32\" C:\\AUTOEXEC.BAT"), R::False);
    EXPECT_EQ(main("search \"x\" C:\\MISSING.BAT"), R::False);
    EXPECT_EQ(found.lineNumber, "");

    // The text has all its macros expanded.
    globals.macros.setDefaultDir("C:\\WINDOWS");
    EXPECT_EQ(main("search \"path $DEFAULTDIR$\" C:\\AUTOEXEC.BAT"), R::True);
    EXPECT_EQ(found.lineNumber, "4");

    EXPECT_EQ(main("search"), R::Error);
    EXPECT_EQ(main("search \"text\""), R::Error);
    EXPECT_EQ(main("search \"text"), R::Error); // the quote takes the rest: nothing after it
}

TEST_F(ConditionsTest, SearchCountsPiecesOfLongLinesAsLines) {
    files.files["C:\\LONG.TXT"].bytes = std::string(1000, 'a') + "\nneedle\n";
    EXPECT_EQ(main("search \"needle\" C:\\LONG.TXT"), R::True);
    EXPECT_EQ(found.lineNumber, "3");
    // Text mode: a Ctrl-Z ends the file.
    files.files["C:\\EOF.TXT"].bytes = "one\n\x1Aneedle\n";
    EXPECT_EQ(main("search \"needle\" C:\\EOF.TXT"), R::False);
}

class LocateTest : public ConditionsTest {
  protected:
    void SetUp() override {
        drives.types = {{'A', os::DriveType::Removable}, {'C', os::DriveType::Fixed},
                        {'D', os::DriveType::Fixed},     {'E', os::DriveType::Network},
                        {'F', os::DriveType::CdRom},     {'H', os::DriveType::Network}};
        globals.macros.setSourceDir("C:\\SETUP");
        tree.addFile("C:\\TOOLS\\X.DLL");
        tree.addFile("D:\\A\\B\\X.DLL");
        tree.addFile("D:\\Z\\X.DLL");
        tree.addFile("D:\\Y.DLL");
        tree.addFile("E:\\SHARE\\X.DLL");
        tree.addFile("F:\\X.DLL");
        tree.addFile("H:\\H.DLL");
    }
};

TEST_F(LocateTest, FindsTheFirstDirectoryDepthFirstAndSetsTheMacros) {
    EXPECT_EQ(main("locate X.DLL"), R::True);
    EXPECT_EQ(globals.macros.locateDir(), "D:\\A\\B");
    EXPECT_EQ(globals.macros.locateDrive(), "D");
    EXPECT_TRUE(located);
    EXPECT_EQ(announced, std::vector<std::string>{"X.DLL"});

    EXPECT_EQ(main("locate \"Y.DLL\""), R::True);
    EXPECT_EQ(globals.macros.locateDir(), "D:\\"); // a root keeps its backslash
    EXPECT_EQ(main("$LOCATEDIR$ = \"D:\\\""), R::True);

    EXPECT_EQ(main("locate X.DLL network"), R::True);
    EXPECT_EQ(globals.macros.locateDir(), "E:\\SHARE");
    // The source drive C is passed over, removable and CD drives are never searched.
    EXPECT_EQ(main("locate TOOLS local"), R::False);
    EXPECT_EQ(main("locate NONE.DLL"), R::False);
    EXPECT_FALSE(located);
    EXPECT_EQ(globals.macros.locateDir(), "E:\\SHARE");
    for (const std::string& dir : tree.listed)
        EXPECT_TRUE(dir[0] == 'D' || dir[0] == 'E' || dir[0] == 'H') << dir;

    // One drive is searched whatever its type, the source drive too.
    EXPECT_EQ(main("locate X.DLL c"), R::True);
    EXPECT_EQ(globals.macros.locateDir(), "C:\\TOOLS");
    EXPECT_EQ(main("locate X.DLL f"), R::True);
    EXPECT_EQ(main("locate X.DLL q"), R::False);
}

TEST_F(LocateTest, AWebSourceIsNoDriveAndBadScopesAreErrors) {
    globals.macros.setSourceDir("http://example.test/setup/");
    EXPECT_EQ(main("locate H.DLL network"), R::True); // 'h' of http names no drive

    EXPECT_EQ(main("locate X.DLL ne"), R::Error);
    EXPECT_EQ(main("locate X.DLL locals"), R::Error);
    EXPECT_EQ(main("locate X.DLL 1"), R::Error);
}

TEST_F(LocateTest, AWalkThroughALinkLoopEnds) {
    drives.types = {{'D', os::DriveType::Fixed}};
    tree.addDirectory("D:\\LOOP");
    EXPECT_EQ(main("locate NONE.DLL"), R::False);
    EXPECT_LT(tree.listed.size(), 200u);
}

TEST_F(ConditionsTest, LenientReadingsTakeTheLanguagesValueAndWarn) {
    system.memory = 8u << 20;
    system.display = {8, 1, 640, 480}; // 256 colours
    globals.windowsVersion = 4.0;
    files.files["C:\\AUTOEXEC.BAT"].bytes = "@ECHO OFF\r\n";
    const LenientCase cases[] = {
        // Numbers are read as far as they go.
        {"winver > 3.1a", R::True, "\"3.1a\" is not a plain number: read as 3.1"},
        {"winver >", R::True, "no version: read as 0"},
        {"winver >= range 3 5", R::True, "range counts only after '='"},
        {"memory > 4MB", R::True, "read as 4"},
        {"memory > -1", R::False, "compared as 4294966272 bytes"}, // its 32-bit value
        // Only the operator's first character counts; what follows it is the first value for
        // video and is passed over by the other two.
        {"video >= 256", R::True, "only the first character"},
        {"video > 256x", R::True, "read as 256"},
        {"videocolor >= 256", R::True, "only the first character"},
        {"videocolor >= 257", R::False, "only the first character"},
        {"videocolor >x 256", R::True, "\"x\" after the operator is passed over"},
        {"videoresolution << 801 600", R::True, "only the first character"},
        {"videoresolution > 640", R::True, "no display value: read as 0"},
        // A field that is missing, unquoted or never closed reads as empty.
        {"Hello = \"hello", R::False, ""},
        {"isfile", R::False, "no file name"},
        {"isfile \"C:\\WIN", R::False, "no file name"},
        {"search progman C:\\AUTOEXEC.BAT", R::False, "unquoted search text"},
        {"search \"ECHO\" C:\\AUTOEXEC.BAT \"pre", R::True, ""},
        {"locate", R::False, "no file name"},
        {"locate \"X.DLL", R::False, "no file name"},
    };
    for (const LenientCase& c : cases) {
        EXPECT_EQ(main(c.condition), c.result) << c.condition;
        EXPECT_TRUE(test::warned(warnings, c.warning)) << c.condition;
    }
    EXPECT_TRUE(announced.empty()); // a nameless file is searched for on no drive
}

TEST_F(ConditionsTest, GroupAndAskTestsAreDeferredHoweverTheyAreWritten) {
    // What the deferred pass will find is told in the main pass.
    const LenientCase cases[] = {
        {"group = 1 2", R::Deferred, ""},
        {"$ASK1 = \"Yes\"", R::Deferred, ""},
        {"$ask5$ <> range 1 5", R::Deferred, ""},
        {"group 1 2", R::Deferred, "this test is an error: no '='"},
        {"group =", R::Deferred, "always false"},
        {"group = 7 x", R::Deferred, "unless a group listed before it is chosen"},
        {"group = 1a", R::Deferred, "read as 1"},
        {"$ASK6 = \"Yes\"", R::Deferred, "names no question"},
        {"$ASK12 = \"Yes\"", R::Deferred, "read as $ASK1"},
        {"$ASK1 range 1 5", R::Deferred, "no comparison operator"},
        {"$ASK1 = maybe", R::Deferred, "neither a quoted value nor range"},
        {"$ASK1 = range one 5", R::Deferred, "read as 0"},
        {"$ASK1 = \"Yes", R::Deferred, "unterminated quote"},
    };
    for (const LenientCase& c : cases) {
        EXPECT_EQ(main(c.condition), c.result) << c.condition;
        EXPECT_TRUE(test::warned(warnings, c.warning)) << c.condition;
    }
    EXPECT_EQ(blocksBuffered, 13);

    bufferResult = -1; // no ENDIF within the block's limit
    EXPECT_EQ(main("group = 1"), R::Error);
}

TEST_F(ConditionsTest, DeferredGroupTestsLookAtTheSelectedOptionsAsTheyRead) {
    globals.options.setOptionOfGroup(1, 0);
    globals.options.setOptionOfGroup(7, 1);
    globals.options.setSelected(1, true);
    // Group 42 is declared by no group. A list is true at its first chosen group; a broken word
    // in it is an error only when reached.
    expectResults({{R::True, {"group = 7", "GROUP=01,07", "group = 7a", "group = 7 123"}},
                   {R::False, {"group = 1", "group = 42", "group ="}},
                   {R::Error, {"group = 1 x 7", "group 7", "winver > 3", "Hello = hello"}}},
                  true);
}

TEST_F(ConditionsTest, DeferredAskTestsCompareTheAnswers) {
    globals.macros.setAsk(1, "yes");
    globals.macros.setAsk(3, " 5 ");
    globals.macros.setAsk(4, "12abc");
    // Equality keeps case, ordering ignores it; "$ASK12" is named by its fifth character. In a
    // range the answer is read as a number as far as it goes ("yes" reads as 0).
    expectResults(
        {{R::True,
          {"$ASK1 >= \"Yes\"", "$ASK1$ <> \"Yes\"", "$ASK1 = \"yes\"", "$ASK12 = \"yes\"",
           "$ASK1 < \"z\"", "$ASK2 = \"\"", "$ASK3 = range 5 10", "$ASK3 > range 1 5",
           "$ASK4 = range 12 12", "$ASK1 = range 0 0"}},
         {R::False, {"$ASK1 = \"Yes\"", "$ASK3 = range 6 10"}},
         {R::Error, {"$ASK3 = range 5", "$ASK0 = \"x\"", "$ASKX = \"x\"", "$ASK1 != \"x\""}}},
        true);
}

} // namespace
} // namespace kestrel::script
