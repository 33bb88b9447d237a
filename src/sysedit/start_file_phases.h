// The AUTOEXEC.BAT and CONFIG.SYS phases of an installation, run once each after the files are
// installed (AUTOEXEC.BAT first). Each reads its file in the root of the default drive, makes
// the changes the script's AUTOEXEC or CONFIG lines collected, asks the script's question first
// when they said ASK and the file would change, keeps the original as AUTOEXEC.BAK or
// CONFIG.BAK, and logs each changed or added line once the new file is in place.
#pragma once

#include "lexical/macros.h"
#include "sysedit/autoexec_edit.h"
#include "sysedit/config_edit.h"
#include "sysedit/file_rewrite.h"

#include <optional>
#include <string>

namespace kestrel::sysedit {

// "C:\NAME" with the default drive letter in place of C.
std::string startFilePath(char driveLetter, std::string_view name);

// menuChoice: the CONFIG environment variable (the start-up menu's choice), if set.
// question: the AUTOEXEC prompt text.
EditOutcome runAutoexecPhase(const AutoexecEdit& edit, const lexical::MacroVariables& macros,
                             char driveLetter, std::optional<std::string> menuChoice,
                             const std::string& question, EditServices& services);

// question: the CONFIG prompt text.
EditOutcome runConfigPhase(const ConfigEdit& edit, const lexical::MacroVariables& macros,
                           char driveLetter, const std::string& question, EditServices& services);

} // namespace kestrel::sysedit
