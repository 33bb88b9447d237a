// The uninstaller reads these lines back: every kind byte for byte.
#include "lexical/install_log_lines.h"

#include <gtest/gtest.h>

namespace kestrel::lexical::logline {
namespace {

TEST(InstallLogLines, EveryKindAsTheUninstallerReadsIt) {
    const std::pair<std::string, std::string> lines[] = {
        {file("C:\\APP\\A.EXE"), "FILE: \"C:\\APP\\A.EXE\""},
        {directory("C:\\APP"), "DIRECTORY: C:\\APP"},
        {defaultDir("C:\\APP"), "DEFAULTDIR: \"C:\\APP\""},
        {rename("C:\\B.BAK", "C:\\A.TXT"), "RENAME: C:\\B.BAK, C:\\A.TXT"},
        {autoexec("", "SET A=\"1\""), "AUTOEXEC: \"\", \"SET A=\"1\"\""},
        {config("FILES=20", "FILES=30"), "CONFIG: \"FILES=20\", \"FILES=30\""},
        {configMinimum("BUFFERS", 20), "CONFIG: \"\", \"BUFFERS = 20"},
        {iniValueSet("S", "K", "V", "A.INI"), "INIFILE: \"S\", \"K\", \"V\", \"A.INI\""},
        {iniValueChanged("S", "K", "V", "A.INI", "old"),
         "INIFILE: \"S\", \"K\", \"V\", \"A.INI\", \"old\""},
        {iniSection("S", "A.INI"), "INIFILE: \"S\", \"A.INI\""},
        {addText("", "C:\\A.TXT", "text"), "ADDTEXT: \"\", C:\\A.TXT, \"text\""},
        {regKey("HKEY_CURRENT_USER", "Software\\A"),
         "REGKEY: \"HKEY_CURRENT_USER\", \"Software\\A\""},
        {winItem("Tools", "A"), "WINITEM: \"Tools\", \"A\""},
        {regServer("C:\\A.OCX"), "RegServer: \"C:\\A.OCX\""},
        {uninstallBeginPrompt("Remove?"), "UNINSTALLBEGINPROMPT: \"Remove?\""},
        {uninstallEndPrompt("Done."), "UNINSTALLENDPROMPT: \"Done.\""},
        {uninstallTitlePrompt("UnInstall"), "UNINSTALLTITLEPROMPT: \"UnInstall\""},
    };
    for (const auto& [made, expected] : lines)
        EXPECT_EQ(made, expected);
}

} // namespace
} // namespace kestrel::lexical::logline
