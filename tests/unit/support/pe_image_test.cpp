// The program-file reader on the small DLLs the build makes for both Windows machines.
#include "support/pe_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kestrel::test {
namespace {

std::string fixture(const std::string& triple, const std::string& name) {
    return std::string(KESTREL_FIXTURE_DIR) + "/" + triple + "/" + name + ".dll";
}

PeImage readFixture(const std::string& triple, const std::string& name) {
    const std::string path = fixture(triple, name);
    if (!std::filesystem::exists(path))
        return {};
    std::string error;
    auto image = readPeFile(path, error);
    EXPECT_TRUE(image) << path << ": " << error;
    return image.value_or(PeImage{});
}

TEST(PeImage, ReadsMachineExportsVersionAndDialogsOfBothMachines) {
    struct Machine {
        const char* triple;
        uint16_t machine;
        const char* stdcallName; // as the compiler decorates it
        bool stdcallUndecorated;
    };
    const Machine machines[] = {{"i686-w64-mingw32", kMachineI386, "FixtureStdcall@4", false},
                                {"x86_64-w64-mingw32", kMachineAmd64, "FixtureStdcall", true}};
    for (const Machine& m : machines) {
        if (!std::filesystem::exists(fixture(m.triple, "versioned")))
            GTEST_SKIP() << "no " << m.triple << " fixtures";
        SCOPED_TRACE(m.triple);
        const PeImage image = readFixture(m.triple, "versioned");
        EXPECT_EQ(image.machine, m.machine);
        EXPECT_TRUE(image.isDll);
        ASSERT_TRUE(image.findExport("FixturePlain"));
        EXPECT_TRUE(image.findExport("FixturePlain")->undecorated);
        ASSERT_TRUE(image.findExport(m.stdcallName));
        EXPECT_EQ(image.findExport(m.stdcallName)->undecorated, m.stdcallUndecorated);
        EXPECT_EQ(image.exports.size(), 2u);
        EXPECT_EQ(image.dialogIds, (std::vector<uint16_t>{100, 601}));
        EXPECT_EQ(image.fileVersion, (PeVersion{1, 10, 0, 7}));
        EXPECT_EQ(image.versionString("040904E4", "FileVersion"), "1.10");
        EXPECT_EQ(image.versionString("040904E4", "MIMEType"), "application/x-kestrel-fixture");
        EXPECT_EQ(image.versionString("040904E4", "FileOpenName"), "Fixture (*.kfx)");
        EXPECT_EQ(image.versionString("040904B0", "FileVersion"), "9.9");
        EXPECT_EQ(image.versionString("040904B0", "MIMEType"), std::nullopt);
        EXPECT_EQ(readFixture(m.triple, "foreign").versionString("040704B0", "FileVersion"),
                  "4.0.0.1 (built from the release branch on a long winter night)");
    }
}

// A file cut anywhere reads as the whole file or not at all, never as part of an answer; a
// damaged byte anywhere reads without a stray access (the sanitizer build checks that).
TEST(PeImage, DamagedFilesGiveErrorsNotWrongAnswers) {
    const std::string path = fixture("i686-w64-mingw32", "versioned");
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no i686 fixtures";
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> whole{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    std::string error;
    const auto complete = readPeImage(whole, error);
    ASSERT_TRUE(complete) << error;
    for (size_t length = 0; length < whole.size(); ++length) {
        const auto cut = readPeImage({whole.begin(), whole.begin() + length}, error);
        EXPECT_TRUE(!cut || *cut == *complete) << "cut at " << length;
        std::vector<uint8_t> damaged = whole;
        damaged[length] ^= 0xFF;
        readPeImage(damaged, error);
    }
    EXPECT_FALSE(readPeImage({'M', 'Z'}, error));
    EXPECT_EQ(error, "no PE signature");
}

} // namespace
} // namespace kestrel::test
