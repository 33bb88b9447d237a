// The new AUTOEXEC.BAT: the original bytes and the edit in, the new bytes and the AUTOEXEC log
// lines out. Lines the edit does not touch stay byte for byte, and so do their line ends.
#pragma once

#include "lexical/macros.h"
#include "sysedit/autoexec_edit.h"
#include "sysedit/text_file_lines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::sysedit {

// An AutoexecEdit with its macros expanded, ready to apply.
struct AutoexecRequest {
    std::vector<std::string> pathDirectories; // in script order; the newest ends up first
    std::vector<std::string> lines;           // lines to add unless the file holds them
    bool shareWanted = false;
    int32_t shareFiles = 0;
    int32_t shareLocks = 0;
    // The start-up menu's choice (the CONFIG environment variable): PATH lines are edited only
    // in the section whose label is this choice. Nothing: the whole file is one section.
    std::optional<std::string> menuChoice;
};

// The directories and lines of edit with their macros expanded; ADDPATH without a directory
// adds the destination (a bare drive gets its backslash).
AutoexecRequest autoexecRequest(const AutoexecEdit& edit, const lexical::MacroVariables& macros,
                                std::optional<std::string> menuChoice);

// The first PATH line of the section gets each missing directory in front of its value; a
// SHARE line is raised to the /F: and /L: values asked for; and before the file's last line
// come, in this order, a PATH line when none was found, the lines still to add and a SHARE line
// when none was found.
TextRewrite rewriteAutoexec(std::string_view original, const AutoexecRequest& request);

} // namespace kestrel::sysedit
