#include "lexical/macros.h"

#include <gtest/gtest.h>

namespace kestrel::lexical {
namespace {

TEST(MacroVariables, CapacitiesAndDriveLetters) {
    MacroVariables macros;
    EXPECT_EQ(macros.locateDir(), "C:\\NEWFILES");
    EXPECT_EQ(macros.locateDrive(), "");
    EXPECT_EQ(macros.defaultDrive(), "");

    EXPECT_TRUE(macros.setDefaultDir("D:\\APP"));
    EXPECT_EQ(macros.defaultDrive(), "D");
    EXPECT_TRUE(macros.setLocateDir("E:\\FOUND"));
    EXPECT_EQ(macros.value(Macro::LocateDrive), "E");

    EXPECT_FALSE(macros.setDir2(std::string(500, 'x')));
    EXPECT_EQ(macros.dir2().size(), 499u);
    EXPECT_FALSE(macros.setAsk(5, std::string(600, 'y')));
    EXPECT_EQ(macros.value(Macro::Ask5).size(), 499u);
    EXPECT_FALSE(macros.setAsk(6, "no"));
    EXPECT_EQ(macros.ask(0), "");

    EXPECT_TRUE(macros.setWindowsDir(std::string(998, 'w')));
    EXPECT_EQ(macros.windowsHelpDir().size(), 998u);
    EXPECT_TRUE(macros.setSystemDir("C:\\WIN\\SYSTEM\\"));
    EXPECT_EQ(macros.value(Macro::WinSysDir), "C:\\WIN\\SYSTEM");
}

TEST(ExpandLeadingMacro, OnlyTheMacroAtTheStart) {
    MacroVariables macros;
    macros.setDefaultDir("C:\\APP");
    macros.setDir2("D:\\DATA");

    std::string lower = "$defaultdir$\\BIN";
    EXPECT_EQ(expandLeadingMacro(lower, macros), "C:\\APP\\BIN");
    std::string middle = "X:\\$DEFAULTDIR$";
    EXPECT_EQ(expandLeadingMacro(middle, macros), "X:\\$DEFAULTDIR$");
    std::string twice = "$DIR2$$DIR2$";
    EXPECT_EQ(expandLeadingMacro(twice, macros), "D:\\DATA$DIR2$");
    std::string system = "$SYSTEM$\\FILE.DLL";
    EXPECT_EQ(expandLeadingMacro(system, macros), "\\FILE.DLL");
    std::string located = "$LOCATEDIR$";
    EXPECT_EQ(expandLeadingMacro(located, macros), "C:\\NEWFILES");
    std::string unknown = "$NOPE$\\x";
    EXPECT_EQ(expandLeadingMacro(unknown, macros), "$NOPE$\\x");

    macros.setWindowsDir(std::string(998, 'w'));
    std::string longer = "$WINDIR$" + std::string(50, 'x');
    EXPECT_EQ(expandLeadingMacro(longer, macros).size(), kMacroTextCapacity);
}

TEST(MacroString, ExpandsEveryOccurrenceIgnoringCase) {
    MacroVariables macros;
    macros.setDir2("D:\\DATA");
    MacroString item("copy $DIR2$\\a $dir2$\\b");
    item.expandAllMacros(macros);
    EXPECT_EQ(item.text(), "copy D:\\DATA\\a D:\\DATA\\b");
    EXPECT_EQ(item.flag, 1);

    EXPECT_TRUE(MacroString(static_cast<const char*>(nullptr)).empty());
    MacroString mixed("$Ask1$ Keeps Case $UNKNOWN$");
    mixed.expandMacro("yes", "$ASK1$");
    EXPECT_EQ(mixed.text(), "yes Keeps Case $UNKNOWN$");
}

TEST(MacroString, ValuesHoldingMacrosNeitherLoopNorOverflow) {
    MacroString self("$DIR2$-$DIR2$");
    self.expandMacro("[$DIR2$]", "$DIR2$"); // a value holding its own macro is not searched again
    EXPECT_EQ(self.text(), "[$DIR2$]-[$DIR2$]");

    // An answer written into a destination is expanded, because answers come later.
    MacroVariables macros;
    macros.setDefaultDir("C:\\$ASK1$");
    macros.setAsk(1, "GAMES");
    macros.setDir3("$DEFAULTDIR$"); // DIR3 comes after DEFAULTDIR: stays literal
    MacroString path("$DEFAULTDIR$\\BIN;$DIR3$");
    path.expandAllMacros(macros);
    EXPECT_EQ(path.text(), "C:\\GAMES\\BIN;$DEFAULTDIR$");

    MacroString growing(std::string(10, '$') + "$DIR2$$DIR2$$DIR2$");
    growing.expandMacro(std::string(400, 'v'), "$DIR2$");
    EXPECT_EQ(growing.text().size(), MacroString::kCapacity);
    EXPECT_EQ(MacroString(std::string(1500, 'a')).text().size(), MacroString::kCapacity);
}

TEST(FallbackDestination, WorkingDirectoryOrNewFilesOnTheDefaultDrive) {
    const struct {
        const char* source;
        const char* chosen; // a DEFAULTDIR the script gave, or empty
        const char* working;
        char drive;
        const char* destination;
    } cases[] = {
        {"http://server/app/", "", "C:\\USERS\\ME", 'C', "C:\\USERS\\ME"},
        {"E:\\SETUP", "", "E:\\SETUP", 'D', "D:\\NEWFILES"},
        {"", "F:\\MINE", "C:\\", 'C', "F:\\MINE"},
    };
    for (const auto& c : cases) {
        MacroVariables macros;
        macros.setSourceDir(c.source);
        if (*c.chosen)
            macros.setDefaultDir(c.chosen);
        applyFallbackDestination(macros, c.working, c.drive);
        EXPECT_EQ(macros.defaultDir(), c.destination) << c.source;
        EXPECT_EQ(macros.defaultDrive(), std::string(1, c.destination[0])) << c.source;
    }
}

} // namespace
} // namespace kestrel::lexical
