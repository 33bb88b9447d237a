// Changing a text file without ever losing it: the new text is made in memory from the whole
// original, written to a new file beside it, and put in the original's place in one move, so
// that a crash, a full disk or a locked file leaves the old file or the new one, never half of
// one. The install-log lines follow only once the new file is in place.
#pragma once

#include "lexical/install_log_sink.h"
#include "os/file_system.h"
#include "os/prompts.h"
#include "sysedit/text_file_lines.h"

#include <functional>
#include <string>
#include <string_view>

namespace kestrel::sysedit {

// What the phases that change the machine's files use.
struct EditServices {
    os::FileSystem& files;
    os::Prompts& prompts;
    lexical::InstallLogSink& log;
};

enum class EditOutcome {
    Unchanged, // nothing to change, or nothing asked for
    Declined,  // the user answered No: the file was not touched
    Changed,   // the new file is in place and its log lines are written
    Failed,    // the file could not be read or replaced; the user was told, nothing changed
};

// Shown, with the path after it, when a file cannot be read or replaced.
inline constexpr std::string_view kCannotChangeFile =
    "This file could not be changed and was left as it was: ";

struct RewriteTarget {
    std::string path;
    std::string backup;   // where the original is kept (the .BAK); empty: no copy is kept
    std::string question; // asked (Yes/No) before a change is made; empty: no question
};

// original: the file's bytes ("" when it does not exist); existed: whether it did.
using Rewrite = std::function<TextRewrite(std::string_view original, bool existed)>;

// Reads target.path whole in binary and rewrites it. The file keeps its attributes. When it did
// not exist, an old backup is removed, since it belongs to no file that is there now.
EditOutcome rewriteFile(EditServices& services, const RewriteTarget& target,
                        const Rewrite& rewrite);

} // namespace kestrel::sysedit
