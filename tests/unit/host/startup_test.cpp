// Addresses made from the script's URL, the read-me command, and version order.
#include "files/version_compare.h"
#include "host/startup.h"

#include <gtest/gtest.h>

namespace kestrel::host {
namespace {

TEST(Startup, AddressesFromTheScriptsUrl) {
    const struct {
        const char* url;
        const char* base;
        const char* root;
    } cases[] = {
        {"http://host:8080/setup/app/setup.kst", "http://host:8080/setup/app", "http://host:8080"},
        {"file:///C:/web/setup.kst", "file:///C:/web", "file:///C:"},
        {"C:\\web\\setup.kst", "C:\\web", "C:\\web"},
        {"http://host/a\\b/setup.kst", "http://host/a\\b", "http://host"},
        {"http://host/a/b\\setup.kst", "http://host/a/b", "http://host"},
        {"setup.kst", "setup.kst", "setup.kst"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(baseUrlOf(c.url), c.base) << c.url;
        EXPECT_EQ(serverRootOf(baseUrlOf(c.url)), c.root) << c.url;
    }
    EXPECT_EQ(relativeAddress("http://h/setup", "images\\intro.bmp"),
              "http://h/setup/images/intro.bmp");
    const std::string longPath(400, 'p');
    EXPECT_EQ(relativeAddress("http://h", longPath).size(), 9 + longPath.size());
}

TEST(Startup, ReadmeIsTakenInTheDestinationUnlessAbsolute) {
    const struct {
        const char* file;
        const char* command;
    } cases[] = {
        {"readme.txt", "notepad C:\\APP\\readme.txt"},
        {"\\doc\\readme.txt", "notepad \\doc\\readme.txt"},
        {"D:\\readme.txt", "notepad D:\\readme.txt"},
        {"\"C:\\Program Files\\readme.txt\"", "notepad \"C:\\Program Files\\readme.txt\""},
        {"\"\\x y\\readme.txt\"", "notepad \"\\x y\\readme.txt\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readmeCommand(c.file, "C:\\APP"), c.command) << c.file;
    const std::string deep(600, 'd');
    EXPECT_EQ(readmeCommand("r.txt", deep), "notepad " + deep + "\\r.txt");
}

TEST(VersionOrder, DottedNumbersCompareFieldByField) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"1.10", "1.9", 1},    {"1.9", "1.10", -1},           {"1.0", "1.0.0", 0},
        {"2.0.0.1", "2.0", 1}, {"1, 0, 0, 12", "1.0.0.9", 1}, {"4.00.2900", "4.0.2900", 0},
        {"beta", "ALPHA", 1},  {"1.0b", "1.0a", 1},           {"99999999999999999999999", "1", 1},
    };
    for (const auto& c : cases) {
        const int order = files::compareVersions(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    }
}

} // namespace
} // namespace kestrel::host
