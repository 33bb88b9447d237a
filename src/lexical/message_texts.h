// Texts the installer shows that more than one part of it uses, or that no script command
// changes. The texts a script may replace start from the defaults here.
#pragma once

#include <array>
#include <string_view>

namespace kestrel::lexical::texts {

// Defaults of the texts commands replace.
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
inline constexpr std::string_view kNotFound = "File not found: "; // a download, a volume
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

// Unpacking a packed archive.
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory unshrinking files";
inline constexpr std::string_view kReadingFileError = "Reading file error: ";
inline constexpr std::string_view kInvalidCompressedFile = "Invalid compressed file ";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file ";
inline constexpr std::string_view kReadingDiskError = "Reading disk error.";
inline constexpr std::string_view kWritingDiskError = "Writing disk error.";
inline constexpr std::string_view kRefusedMember =
    "Archive member not unpacked, its name is not that of a file inside the destination "
    "directory: ";

} // namespace kestrel::lexical::texts
