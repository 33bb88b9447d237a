// The Program Manager phase, last of a successful installation: the WINITEM entries become
// commands of the Program Manager's DDE language, in script order:
//
//   [DeleteGroup(group)]            remove with no command line (nothing else for the entry)
//   [CreateGroup(group)]            when the group differs (ignoring case) from the last one
//   [DeleteItem(title)]             remove with a command line (nothing else for the entry)
//   [ReplaceItem(title)]            replace, before its AddItem
//   [AddItem(command, title, icon file, icon index, -1, -1, working dir)]
//
// A group, command line, title, icon file or working directory that holds a comma or a
// parenthesis is put in double quotes, so that the command still parses; every other field
// stands as it is. Each entry that makes a group or an item is logged with a WINITEM line.
#pragma once

#include "lexical/install_log_sink.h"
#include "lexical/macros.h"
#include "os/program_manager.h"
#include "sysedit/win_item_entry.h"

#include <string>
#include <vector>

namespace kestrel::sysedit {

// The commands for the entries, in the order they are sent.
std::vector<std::string> programManagerCommands(const std::vector<WinItemEntry>& entries,
                                                const lexical::MacroVariables& macros);

// Sends the commands and writes the WINITEM lines. A Program Manager that cannot be reached
// makes no items and logs nothing when DDE cannot be started at all; a command that was not
// carried out is still logged, as the items are kept. False when DDE could not be started.
bool runProgramManagerPhase(const std::vector<WinItemEntry>& entries,
                            const lexical::MacroVariables& macros,
                            os::ProgramManager& programManager, lexical::InstallLogSink& log);

} // namespace kestrel::sysedit
