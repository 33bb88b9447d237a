#include "sysedit/self_registration.h"

#include "lexical/install_log_lines.h"
#include "lexical/path_text.h"

namespace kestrel::sysedit {

std::string serverPath(const std::string& path, const lexical::MacroVariables& macros) {
    std::string full = path;
    lexical::expandLeadingMacro(full, macros);
    return lexical::pathInDirectory(full, macros.defaultDir());
}

bool runSelfRegistrationPhase(const std::vector<std::string>& paths,
                              const lexical::MacroVariables& macros,
                              os::ServerRegistration& registration, os::Prompts& prompts,
                              lexical::InstallLogSink& log) {
    bool all = true;
    for (const std::string& path : paths) {
        const std::string full = serverPath(path, macros);
        if (registration.registerServer(full).outcome ==
            os::ServerRegistrationResult::Outcome::Registered) {
            log.writeLogLine(lexical::logline::regServer(full));
        } else {
            all = false;
            prompts.messageBox(full + std::string(kNotRegistered), full, os::kMbOk);
        }
    }
    return all;
}

} // namespace kestrel::sysedit
