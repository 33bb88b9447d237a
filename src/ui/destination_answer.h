// The destination dialogs: what their edit boxes show when they open, and what becomes of
// the text typed into them when OK is pressed. By ask mode:
//
//   1  the drive is fixed (shown beside the edit box) and the directory is typed
//   2  the drive letter is typed and the rest of the path is fixed (shown beside it)
//   3  the whole path is typed
//   0, 4, 5  nothing is asked: the dialog closes at once and the path stays as it was
//
// Any other mode is a fault of the script, reported as "AskFlag = n".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::ui {

// The longest destination path; a longer answer is refused as a bad directory.
inline constexpr size_t kDestinationCapacity = 499;

// What the dialog shows when it opens.
struct DestinationFields {
    std::string path;      // the default path, "X:\" when it names a drive only (mode 1)
    std::string drive;     // mode 1: the fixed drive, "X:\" in upper case (control 305)
    std::string edit;      // the editable text (control 204)
    std::string fixedRest; // mode 2: the fixed ":\dir" after the drive letter (control 304)
};

DestinationFields destinationFields(int32_t askMode, std::string_view defaultPath);

enum class DestinationVerdict {
    CreateDirectories, // path is the answer once its directories exist
    Unchanged,         // nothing was asked: the default path stands
    BadDrive,          // show the bad drive text, keep the typed text, stay open
    BadDirectory,      // show the bad directory text, keep the typed text, stay open
    UnknownAskMode,    // show message, mark the script in error, close with OK
};

struct DestinationAnswer {
    DestinationVerdict verdict = DestinationVerdict::Unchanged;
    std::string path;
    std::string message;
};

// The answer for typed in a dialog opened on path (DestinationFields::path). Mode 1 ends the
// path at the first space or comma of what was typed, mode 3 at its first comma; mode 2 takes
// only the typed letter and keeps the rest of path as the script gave it. A typed drive
// alone ("D" or "D:") means its root, never the drive's current directory.
DestinationAnswer acceptDestination(int32_t askMode, std::string_view path, std::string_view typed);

} // namespace kestrel::ui
