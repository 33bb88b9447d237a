// The values that live as long as the plug-in is loaded, shared by every installation that
// runs in the browser process: the global settings a script may change (they keep a change
// for later installations), the option tables of the group blocks, the path macro values,
// the machine's version numbers and the texts shown outside any one script.
//
// One object, owned by whoever loads the library and passed by reference; tests make a fresh
// one.
#pragma once

#include "script/macros.h"
#include "script/option_tables.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::script {

// What happens when an installed file exists already.
enum class OverwriteMode : uint32_t { No = 0, Yes = 1, Ask = 2, New = 3 };
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

namespace texts {
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "Cancel";
inline constexpr std::string_view kBadDirectory = "Invalid directory.";
inline constexpr std::string_view kBadDrive = "Invalid drive specification.";
inline constexpr std::string_view kFileExists = "File exists.  Overwrite ";
inline constexpr std::string_view kFileNotFound = "File not found on the installation disk: ";
inline constexpr std::string_view kUninstallBegin =
    "Do you want this application removed from your system?";
inline constexpr std::string_view kUninstallEnd =
    "This application has been successfully removed from your system.";
inline constexpr std::string_view kUninstallTitle = "UnInstall";
inline constexpr std::string_view kScreenFont = "MS Sans Serif";

// Texts no command changes.
inline constexpr std::string_view kDownloadError = "File not found: ";
inline constexpr std::string_view kNextDisk = "the next disk";
inline constexpr std::string_view kScriptErrorCaption = "Unrecognized command: line: ";
inline constexpr std::string_view kMissingEndFirstScreen = "Missing EndFirstScreen ";
// Destination prompts by ask mode; mode 0 asks nothing.
inline constexpr std::array<std::string_view, 4> kDestinationPrompts = {
    "",
    "Please enter the destination directory:",
    "Please enter the destination drive:",
    "Please enter the destination drive and directory:",
};
} // namespace texts

struct GlobalSettings {
    OverwriteMode overwriteMode = OverwriteMode::Ask;
    RebootMode rebootMode = RebootMode::None;
    Compression compression = Compression::Pkware;
    bool uninstall = false;
    std::string screenFont{texts::kScreenFont};
    TitleFont titleFont;

    std::string okText{texts::kOk};
    std::string cancelText{texts::kCancel};
    std::string badDirectoryText{texts::kBadDirectory};
    std::string badDriveText{texts::kBadDrive};
    std::string fileExistsText{texts::kFileExists};
    std::string fileNotFoundText{texts::kFileNotFound};
    std::string uninstallBeginText{texts::kUninstallBegin};
    std::string uninstallEndText{texts::kUninstallEnd};
    std::string uninstallTitleText{texts::kUninstallTitle};

    // OLE servers to register after the files are installed (REGSERVER).
    std::vector<std::string> regServers;
};

struct PluginGlobals {
    GlobalSettings settings;
    OptionTables options;
    MacroVariables macros;

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
