// The new CONFIG.SYS: the original bytes and the edit in, the new bytes and the CONFIG log
// lines out. Lines the edit does not touch stay byte for byte.
#pragma once

#include "lexical/macros.h"
#include "sysedit/config_edit.h"
#include "sysedit/text_file_lines.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::sysedit {

// A ConfigEdit with its macros expanded, ready to apply.
struct ConfigRequest {
    int32_t filesMinimum = ConfigEdit::kNotGiven;
    int32_t buffersMinimum = ConfigEdit::kNotGiven;
    std::vector<std::string> lines; // lines to add unless the file holds them
};

ConfigRequest configRequest(const ConfigEdit& edit, const lexical::MacroVariables& macros);

// The first FILES and the first BUFFERS line are raised to their minimum (never lowered; what
// follows the number goes); at the end of the file come a FILES and a BUFFERS line when there
// was none and a minimum other than 0 was asked for, then the lines still to add.
TextRewrite rewriteConfig(std::string_view original, const ConfigRequest& request);

} // namespace kestrel::sysedit
