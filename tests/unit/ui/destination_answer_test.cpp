#include "ui/destination_answer.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

TEST(DestinationAnswer, FieldsShownByAskMode) {
    const DestinationFields directory = destinationFields(1, "d:\\APPS\\TOOL");
    EXPECT_EQ(directory.drive, "D:\\");
    EXPECT_EQ(directory.edit, "APPS\\TOOL");
    const DestinationFields driveOnly = destinationFields(1, "e:");
    EXPECT_EQ(driveOnly.path, "e:\\");
    EXPECT_EQ(driveOnly.edit, "");
    const DestinationFields drive = destinationFields(2, "C:\\APPS");
    EXPECT_EQ(drive.edit, "C");
    EXPECT_EQ(drive.fixedRest, ":\\APPS");
    EXPECT_EQ(destinationFields(3, "C:\\APPS").edit, "C:\\APPS");
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
        {1, "", V::CreateDirectories, "C:\\"},
        {1, std::string(496, 'a'), V::CreateDirectories, "C:\\" + std::string(496, 'a')},
        {1, std::string(497, 'a'), V::BadDirectory, ""}, // 500 characters
        {2, "d", V::CreateDirectories, "d:\\My Apps\\Tool"},
        {2, "7", V::BadDrive, ""},
        {2, "", V::BadDrive, ""},
        {3, "D:\\Program Files,x", V::CreateDirectories, "D:\\Program Files"},
        {3, "D", V::CreateDirectories, "D:\\"},
        {3, "D:", V::CreateDirectories, "D:\\"},
        {3, "1:\\APP", V::BadDrive, ""},
        {3, "DD\\APP", V::BadDrive, ""},
        {3, "D:APP", V::BadDrive, ""},
        {0, "junk", V::Unchanged, ""},
        {5, "junk", V::Unchanged, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.typed);
        const DestinationAnswer answer = acceptDestination(c.mode, "C:\\My Apps\\Tool", c.typed);
        EXPECT_EQ(answer.verdict, c.verdict);
        EXPECT_EQ(answer.path, c.path);
    }
    const DestinationAnswer unknown = acceptDestination(9, "C:\\", "x");
    EXPECT_EQ(unknown.verdict, V::UnknownAskMode);
    EXPECT_EQ(unknown.message, "AskFlag = 9");
}

} // namespace
} // namespace kestrel::ui
