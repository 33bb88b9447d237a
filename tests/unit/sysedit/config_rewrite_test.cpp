#include "sysedit/config_rewrite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::sysedit {
namespace {

ConfigRequest minimums(int32_t files, int32_t buffers) {
    ConfigRequest request;
    request.filesMinimum = files;
    request.buffersMinimum = buffers;
    return request;
}

TEST(ConfigRewrite, FirstFilesAndBuffersLinesAreRaisedNeverLowered) {
    struct Case {
        const char* original;
        ConfigRequest request;
        const char* expected;
    };
    const Case cases[] = {
        {"FILES=20\r\n", minimums(30, -1), "FILES=30\r\n"},
        {"FILES = 20 /X\r\n", minimums(30, -1), "FILES = 30\r\n"},
        {"FILES=40\r\n", minimums(30, -1), nullptr},
        {"files=20\r\nFILES=10\r\n", minimums(30, -1), "files=30\r\nFILES=10\r\n"},
        {"BUFFERS=20,0\nFILES=5\n", minimums(-1, 30), "BUFFERS=30\nFILES=5\n"},
        // Other commands that begin with the same letters are no such line.
        {"FILESHIGH=40\r\nBUFFERSHIGH=40\r\n", minimums(30, 25),
         "FILESHIGH=40\r\nBUFFERSHIGH=40\r\nFILES = 30\r\nBUFFERS = 25\r\n"},
        // A minimum of 0 asks for no line.
        {"DEVICE=X\r\n", minimums(0, 0), nullptr},
        {"DEVICE=X", minimums(10, -1), "DEVICE=X\r\nFILES = 10\r\n"},
        {"", minimums(-1, 10), "BUFFERS = 10\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rewriteConfig(c.original, c.request).text, c.expected ? c.expected : c.original)
            << c.original;
}

TEST(ConfigRewrite, LogsChangedAndAddedLinesTheUninstallerKnows) {
    ConfigRequest request = minimums(30, 20);
    request.lines = {"DEVICE=C:\\APP\\APP.SYS", "DOS=HIGH"};
    const TextRewrite result = rewriteConfig("DOS=HIGH,UMB\nFILES=15\n\x1a\x1a", request);
    EXPECT_EQ(result.text,
              "DOS=HIGH,UMB\nFILES=30\nBUFFERS = 20\nDEVICE=C:\\APP\\APP.SYS\n\x1a\x1a");
    EXPECT_EQ(result.logLines, (std::vector<std::string>{
                                   "CONFIG: \"FILES=15\", \"FILES=30\"",
                                   "CONFIG: \"\", \"BUFFERS = 20",
                                   "CONFIG: \"\", \"DEVICE=C:\\APP\\APP.SYS\"",
                               }));
}

} // namespace
} // namespace kestrel::sysedit
