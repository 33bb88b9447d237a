// The restart at the very end of an installation whose script asked for one (REBOOT,
// REBOOTWINDOWS, REBOOTSYSTEM): the question when the installation ends, then the restart
// itself once everything else is done. Both modes restart the whole machine.
#pragma once

#include "os/prompts.h"
#include "os/restart.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::sysedit {

// Shown when the system refused to restart, so that the user restarts by hand.
inline constexpr std::string_view kRestartRefused =
    "Windows could not be restarted. Please restart your computer yourself to complete the "
    "installation.";

// rebootMode: 1 or 2 ask for a restart, anything else for none. Asks the restart question
// (Yes/No); true when the user wants the restart.
bool askForRestart(int32_t rebootMode, const std::string& question, os::Prompts& prompts);

// Restarts the machine when wanted; a refusal is told to the user. True when the system is
// restarting.
bool restartIfWanted(bool wanted, os::Restart& restart, os::Prompts& prompts);

} // namespace kestrel::sysedit
