#include "ui/destination_answer.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(DestinationAnswer, FieldsShownByAskMode) {
    const DestinationFields directory = destinationFields(1, "e:");
    EXPECT_EQ(directory.path, "e:\\"); // a drive alone is its root
    EXPECT_EQ(directory.drive, "E:\\");
    EXPECT_EQ(destinationFields(1, "C:\\APPS\\TOOL").edit, "APPS\\TOOL");
    const DestinationFields drive = destinationFields(2, "C:\\APPS");
    EXPECT_EQ(drive.edit + drive.fixedRest, "C:\\APPS");
}

TEST(DestinationAnswer, TypedTextBecomesThePathOrIsRefused) {
    using V = DestinationVerdict;
    struct Case {
        int32_t mode;
        std::string typed;
        V verdict;
        std::string path;
    } cases[] = {
        {1, "Program Files", V::CreateDirectories, "C:\\Program"},
        {1, "APP,X", V::CreateDirectories, "C:\\APP"},
        {1, std::string(496, 'a'), V::CreateDirectories, "C:\\" + std::string(496, 'a')},
        {1, std::string(497, 'a'), V::BadDirectory, ""}, // 500 characters
        {2, "d", V::CreateDirectories, "d:\\My Apps\\Tool"},
        {2, "7", V::BadDrive, ""},
        {3, "D:\\Program Files,x", V::CreateDirectories, "D:\\Program Files"},
        {3, "D", V::CreateDirectories, "D:\\"},
        {3, "1:\\APP", V::BadDrive, ""},
        {3, "DD\\APP", V::BadDrive, ""},
        {3, "D:APP", V::BadDrive, ""},
        {3, "", V::BadDrive, ""},
        {4, "junk", V::Unchanged, ""},
    };
    for (const Case& c : cases) {
        const DestinationAnswer answer = acceptDestination(c.mode, "C:\\My Apps\\Tool", c.typed);
        EXPECT_EQ(answer.verdict, c.verdict) << c.mode << " " << c.typed;
        EXPECT_EQ(answer.path, c.path) << c.mode << " " << c.typed;
    }
    EXPECT_EQ(acceptDestination(9, "C:\\", "x").message, "AskFlag = 9");
}

} // namespace
} // namespace kestrel::ui
