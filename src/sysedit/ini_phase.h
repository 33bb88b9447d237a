// The INIFILE phase: each INI edit of the script, in script order, after CONFIG.SYS, through the
// system's profile functions. An edit sets one key; with ADD it puts the new value after an
// existing different one. Its log lines record what an uninstall needs to put things back: the
// file when the edit created it, the key's previous value (read whole), the section when the
// edit created it.
#pragma once

#include "lexical/macros.h"
#include "os/profile.h"
#include "sysedit/file_rewrite.h"
#include "sysedit/ini_edit.h"

#include <string>
#include <vector>

namespace kestrel::sysedit {

// questionPrefix: the INIFILE prompt text; the file name and "?" follow it.
EditOutcome applyIniEdit(const IniEdit& edit, const lexical::MacroVariables& macros,
                         const std::string& questionPrefix, os::Profile& profile,
                         EditServices& services);

void runIniPhase(const std::vector<IniEdit>& edits, const lexical::MacroVariables& macros,
                 const std::string& questionPrefix, os::Profile& profile, EditServices& services);

} // namespace kestrel::sysedit
