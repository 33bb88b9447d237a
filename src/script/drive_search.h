// The drive search behind the `locate` test: a file looked for in the root of each drive and
// then in every directory below it, depth first, until the first directory that holds it.
#pragma once

#include "os/directory_search.h"
#include "os/drives.h"

#include <optional>
#include <string>

namespace kestrel::script {

enum class DriveScope {
    AllDrives,     // every fixed and every network drive
    FixedDrives,   // `local`
    NetworkDrives, // `network`
    OneDrive,      // the drive given by letter, whatever its type
};

struct DriveSearchRequest {
    std::string fileName; // a name or pattern, looked for inside each directory
    DriveScope scope = DriveScope::AllDrives;
    char drive = 0;       // the letter for OneDrive
    char sourceDrive = 0; // skipped by the multi-drive scopes; 0 when the source is no drive
};

// A directory path no longer than this can be searched. Deeper directories are passed over,
// as they cannot be made current; the bound also ends a walk that a link loop would make
// endless.
inline constexpr size_t kMaxSearchDirectory = 259;

// The directory holding the file ("C:\" for a drive root, "C:\DIR\SUB" below it), or nothing.
std::optional<std::string> searchDrives(const DriveSearchRequest& request, os::Drives& drives,
                                        os::DirectorySearch& directories);

} // namespace kestrel::script
