#include "sysedit/autoexec_rewrite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::sysedit {
namespace {

AutoexecRequest pathRequest(std::vector<std::string> dirs) {
    AutoexecRequest request;
    request.pathDirectories = std::move(dirs);
    return request;
}

AutoexecRequest shareRequest(int32_t files, int32_t locks) {
    AutoexecRequest request;
    request.shareWanted = true;
    request.shareFiles = files;
    request.shareLocks = locks;
    return request;
}

TEST(AutoexecRewrite, PathGoesIntoTheCommandItselfOnly) {
    struct Case {
        const char* original;
        const char* expected;
    };
    const Case cases[] = {
        {"path c:\\dos;c:\\windows\r\n", "path C:\\APP;c:\\dos;c:\\windows\r\n"},
        {"SET PATH=c:\\dos\r\n", "SET PATH=C:\\APP;c:\\dos\r\n"},
        {"@PATH = c:\\dos\r\n", "@PATH = C:\\APP;c:\\dos\r\n"},
        {"\tpath\tc:\\dos\n", "\tpath\tC:\\APP;c:\\dos\n"},
        // Not PATH lines: the directory comes in a PATH line of its own before the last line.
        {"PATHFIND.EXE\r\nWIN\r\n", "PATHFIND.EXE\r\nPATH=C:\\APP;\r\nWIN\r\n"},
        {"SETPATH=c:\\dos\r\nSET PATHX=c:\\dos\r\nWIN",
         "SETPATH=c:\\dos\r\nSET PATHX=c:\\dos\r\nPATH=C:\\APP;\r\nWIN"},
        // Present already, in another case, as a whole entry.
        {"PATH C:\\DOS;c:\\app;D:\\\r\n", nullptr},
        {"PATH C:\\DOS;c:\\app\r\n", nullptr},
        {"PATH c:\\app /x\r\n", nullptr},
        // Not present: only a longer directory that starts with it.
        {"PATH c:\\app\\bin\r\n", "PATH C:\\APP;c:\\app\\bin\r\n"},
        {"", "PATH=C:\\APP;\r\n"},
    };
    for (const Case& c : cases) {
        const TextRewrite result = rewriteAutoexec(c.original, pathRequest({"C:\\APP"}));
        EXPECT_EQ(result.text, c.expected ? c.expected : c.original) << c.original;
        EXPECT_EQ(result.logLines.empty(), c.expected == nullptr) << c.original;
    }
}

TEST(AutoexecRewrite, DirectoriesGoInNewestFirstAndOnlyIntoTheFirstPathLine) {
    const TextRewrite result = rewriteAutoexec("@echo off\r\nPATH C:\\DOS\r\nPATH %PATH%;X\r\n",
                                               pathRequest({"C:\\A", "C:\\B", "C:\\DOS"}));
    EXPECT_EQ(result.text, "@echo off\r\nPATH C:\\B;C:\\A;C:\\DOS\r\nPATH %PATH%;X\r\n");
    EXPECT_EQ(result.logLines,
              std::vector<std::string>{"AUTOEXEC: \"PATH C:\\DOS\", \"PATH C:\\B;C:\\A;C:\\DOS\""});
}

TEST(AutoexecRewrite, MenuChoiceLimitsThePathEditToItsWholeLabel) {
    const std::string original = "GOTO %CONFIG%\r\n:WORKSTATION\r\nPATH C:\\W\r\n"
                                 ":work\r\nPATH C:\\DOS\r\n:END\r\nWIN\r\n";
    AutoexecRequest request = pathRequest({"C:\\APP"});
    request.menuChoice = "WORK";
    EXPECT_EQ(rewriteAutoexec(original, request).text,
              "GOTO %CONFIG%\r\n:WORKSTATION\r\nPATH C:\\W\r\n"
              ":work\r\nPATH C:\\APP;C:\\DOS\r\n:END\r\nWIN\r\n");

    request.menuChoice = "HOME"; // no section of that name: a PATH line of its own
    EXPECT_EQ(rewriteAutoexec(original, request).text,
              "GOTO %CONFIG%\r\n:WORKSTATION\r\nPATH C:\\W\r\n"
              ":work\r\nPATH C:\\DOS\r\n:END\r\nPATH=C:\\APP;\r\nWIN\r\n");
}

TEST(AutoexecRewrite, ShareLineIsFoundByItsProgramAndOnlyRaised) {
    struct Case {
        const char* original;
        int32_t files;
        int32_t locks;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\DOS\\SHARE.EXE /L:500\r\n", 4096, 40, "C:\\DOS\\SHARE /F:4096 /L:500\r\n"},
        {"C:\\DOS\\SHARE.EXE /L:500\r\n", 0, 40, nullptr},
        {"c:\\dos\\share /f:5000 /l:50\r\n", 4096, 40, nullptr}, // kept as it is, lower case
        {"LH /L:1 C:\\DOS\\SHARE.EXE/F:2048\r\n", 4096, 0, "LH /L:1 C:\\DOS\\SHARE /F:4096\r\n"},
        // Lines that only mention the word: a SHARE line is added before the last line.
        {"rem share /F:1\r\nSET SHAREDIR=C:\\S\r\nWIN\r\n", 4096, 40,
         "rem share /F:1\r\nSET SHAREDIR=C:\\S\r\nSHARE /F:4096 /L:40\r\nWIN\r\n"},
    };
    for (const Case& c : cases) {
        const TextRewrite result = rewriteAutoexec(c.original, shareRequest(c.files, c.locks));
        EXPECT_EQ(result.text, c.expected ? c.expected : c.original) << c.original;
    }
    EXPECT_EQ(rewriteAutoexec("C:\\DOS\\SHARE.EXE /L:500\r\n", shareRequest(4096, 40)).logLines,
              std::vector<std::string>{
                  "AUTOEXEC: \"C:\\DOS\\SHARE.EXE /L:500\", \"C:\\DOS\\SHARE /F:4096 /L:500\""});
}

TEST(AutoexecRewrite, AddedLinesComeBeforeTheLastLineInOrder) {
    AutoexecRequest request = shareRequest(0, 20);
    request.pathDirectories = {"C:\\A", "C:\\B"};
    request.lines = {"SET KST=1", "echo here", "LOADHIGH X"};
    const TextRewrite result = rewriteAutoexec("echo here\nWIN", request);
    EXPECT_EQ(result.text, "echo here\nPATH=C:\\A;C:\\B;\nSET KST=1\nLOADHIGH X\nSHARE /L:20\nWIN");
    EXPECT_EQ(result.logLines, (std::vector<std::string>{
                                   "AUTOEXEC: \"\", \"PATH=C:\\A;C:\\B;\"",
                                   "AUTOEXEC: \"\", \"SET KST=1\"",
                                   "AUTOEXEC: \"\", \"LOADHIGH X\"",
                                   "AUTOEXEC: \"\", \"SHARE /L:20\"",
                               }));
}

TEST(AutoexecRewrite, UntouchedBytesStayAsTheyAre) {
    // A line far longer than any read buffer, mixed line ends and text after a Ctrl-Z.
    const std::string longLine = "REM " + std::string(5000, 'x');
    const std::string original =
        longLine + "\nPATH C:\\DOS\r\nWIN\r\n\x1a" + "after the end\r\nPATH C:\\OLD\r\n";
    AutoexecRequest request = pathRequest({"C:\\APP"});
    request.lines = {"SET A=1"};
    EXPECT_EQ(rewriteAutoexec(original, request).text,
              longLine + "\nPATH C:\\APP;C:\\DOS\r\nSET A=1\nWIN\r\n\x1a" +
                  "after the end\r\nPATH C:\\OLD\r\n");
}

TEST(AutoexecRewrite, RequestTakesTheDestinationAndExpandsMacros) {
    lexical::MacroVariables macros;
    macros.setDefaultDir("D:");
    macros.setWindowsDir("C:\\WINDOWS");
    AutoexecEdit edit;
    edit.pathList.emplace_back("$WINDIR$\\BIN");
    edit.pathList.emplace_back("");
    edit.addDestination = true;
    edit.lineList.emplace_back("SET W=$WINDIR$");
    const AutoexecRequest request = autoexecRequest(edit, macros, "WORK");
    EXPECT_EQ(request.pathDirectories, (std::vector<std::string>{"C:\\WINDOWS\\BIN", "D:\\"}));
    EXPECT_EQ(request.lines, std::vector<std::string>{"SET W=C:\\WINDOWS"});
    EXPECT_EQ(request.menuChoice, "WORK");
}

} // namespace
} // namespace kestrel::sysedit
