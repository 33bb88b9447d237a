// Copy file for a file that is not a packed archive: the entry's overwrite mode decides whether
// an existing destination is replaced (NO keeps it, YES replaces it, ASK asks, NEW replaces an
// older one: program files by their version strings, the others by date). The new bytes go
// into a temporary file beside the destination, which takes the destination's place in one
// move only once it is whole, dated and given its attributes, so a failing read, write or
// download never costs the file that was there. The installed file is logged.
#pragma once

#include "files/copy_services.h"
#include "files/packed_file.h"
#include "lexical/install_log_sink.h"
#include "lexical/overwrite_mode.h"
#include "os/file_system.h"
#include "os/file_version.h"
#include "os/prompts.h"

#include <cstdint>
#include <string>

namespace kestrel::files {

struct FileCopyContext {
    os::FileSystem& files;
    os::Prompts& prompts;
    os::FileVersionReader& versions;
    PackedFileLayer& sources; // where source files are read
    InstallProgress& progress;
    lexical::InstallLogSink& log;
    // The question before replacing under ASK; the destination and "?" follow it.
    const std::string& fileExistsText;
};

enum class CopyResult : int32_t { Done = 0, Failed = -1 };

// Copies source to destination (a full path) under mode; attributes are the entry's. Done
// also when the destination was kept. Failed after a message, or silently when the user
// cancelled in the progress dialog.
CopyResult copyPlainFile(FileCopyContext& context, const std::string& destination,
                         const std::string& source, lexical::OverwriteMode mode,
                         uint32_t attributes);

// Whether an existing destination is replaced under NEW: DLL, VBX and OCX files (by the
// destination's extension) by their version strings when both have one, else by DOS date and
// time (the source must be strictly newer).
bool newerThanDestination(FileCopyContext& context, const std::string& destination,
                          const std::string& source, os::DosDateTime sourceStamp);

// Bytes a copy moves per read, and how far progress moves on between reports. Under Wine a
// copy in 32 KB blocks ran at about half of CopyFile's speed; 256 KB blocks keep up with it.
inline constexpr uint32_t kCopyBlock = 262144;
inline constexpr int64_t kProgressReportBytes = 50000;

} // namespace kestrel::files
