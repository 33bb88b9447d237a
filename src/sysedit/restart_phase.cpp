#include "sysedit/restart_phase.h"

namespace kestrel::sysedit {

bool askForRestart(int32_t rebootMode, const std::string& question, os::Prompts& prompts) {
    if (rebootMode != 1 && rebootMode != 2)
        return false;
    return prompts.messageBox(question, os::kDefaultCaption, os::kMbYesNo | os::kMbIconQuestion) ==
           os::kIdYes;
}

bool restartIfWanted(bool wanted, os::Restart& restart, os::Prompts& prompts) {
    if (!wanted)
        return false;
    if (restart.restartMachine())
        return true;
    prompts.messageBox(kRestartRefused, os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
    return false;
}

} // namespace kestrel::sysedit
