// The values that live as long as the plug-in is loaded, shared by every installation that
// runs in the browser process: the global settings a script may change (they keep a change
// for later installations), the option tables of the group blocks, the path macro values,
// the machine's version numbers and the texts shown outside any one script.
//
// One object, owned by whoever loads the library and passed by reference; tests make a fresh
// one.
#pragma once

#include "lexical/macros.h"
#include "lexical/message_texts.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::script {

enum class RebootMode : int32_t { None = 0, RestartWindows = 1, RestartSystem = 2 };
// The external archiver for COMPRESSED files.
enum class Compression : int32_t { Pkware = 0, Lha = 1 };

// Texts whose buffers are fixed: longer ones are script errors.
inline constexpr size_t kFontFaceCapacity = 30;
inline constexpr size_t kShortTextCapacity = 499;

// Font of the title drawn on the plug-in window (TITLE options).
struct TitleFont {
    std::string face = "Arial";
    int32_t size = 0; // points; 0 picks the largest size that fits
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

struct GlobalSettings {
    lexical::OverwriteMode overwriteMode = lexical::OverwriteMode::Ask;
    RebootMode rebootMode = RebootMode::None;
    Compression compression = Compression::Pkware;
    bool uninstall = false;
    std::string screenFont{lexical::texts::kScreenFont};
    TitleFont titleFont;

    std::string okText{lexical::texts::kOk};
    std::string cancelText{lexical::texts::kCancel};
    std::string badDirectoryText{lexical::texts::kBadDirectory};
    std::string badDriveText{lexical::texts::kBadDrive};
    std::string fileExistsText{lexical::texts::kFileExists};
    std::string fileNotFoundText{lexical::texts::kFileNotFound};
    std::string uninstallBeginText{lexical::texts::kUninstallBegin};
    std::string uninstallEndText{lexical::texts::kUninstallEnd};
    std::string uninstallTitleText{lexical::texts::kUninstallTitle};

    // OLE servers to register after the files are installed (REGSERVER).
    std::vector<std::string> regServers;
};

struct PluginGlobals {
    GlobalSettings settings;
    lexical::OptionTables options;
    lexical::MacroVariables macros;

    // The script's web directory and its scheme and server part (FILE sources that begin
    // with a backslash are taken from there).
    std::string baseUrl;
    std::string serverRoot;

    // What the `winver` and `dosver` conditions compare, made from the system's version value
    // when an installation starts.
    double windowsVersion = 0.0;
    double dosVersion = 0.0;
    // The drive of the built-in default destination: C, or A when drive A: is a fixed disk.
    char defaultDriveLetter = 'C';

    // A new installation: the texts that can be shown before its script is read go back to
    // their defaults, and the option tables are emptied. Everything else a script set stays.
    void resetForInstallation(uint32_t systemVersion, bool driveAIsFixed);
};

// The Windows version (low byte major, next byte minor) and the DOS version (high byte major,
// the byte below it minor) of a system version value, each read as "major.minor": minor 10
// gives 3.1, minor 95 gives 3.95.
double windowsVersionOf(uint32_t systemVersion);
double dosVersionOf(uint32_t systemVersion);

} // namespace kestrel::script
