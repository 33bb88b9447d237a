#include "sysedit/start_file_phases.h"

#include "sysedit/autoexec_rewrite.h"
#include "sysedit/config_rewrite.h"

namespace kestrel::sysedit {

namespace {

RewriteTarget startFileTarget(char driveLetter, std::string_view file, std::string_view backup,
                              EditMode mode, const std::string& question) {
    return {startFilePath(driveLetter, file), startFilePath(driveLetter, backup),
            mode == EditMode::ModifyThenAsk ? question : std::string()};
}

} // namespace

std::string startFilePath(char driveLetter, std::string_view name) {
    return std::string(1, driveLetter) + ":\\" + std::string(name);
}

EditOutcome runAutoexecPhase(const AutoexecEdit& edit, const lexical::MacroVariables& macros,
                             char driveLetter, std::optional<std::string> menuChoice,
                             const std::string& question, EditServices& services) {
    if (edit.mode == EditMode::None)
        return EditOutcome::Unchanged;
    const AutoexecRequest request = autoexecRequest(edit, macros, std::move(menuChoice));
    return rewriteFile(
        services, startFileTarget(driveLetter, "AUTOEXEC.BAT", "AUTOEXEC.BAK", edit.mode, question),
        [&](std::string_view original, bool) { return rewriteAutoexec(original, request); });
}

EditOutcome runConfigPhase(const ConfigEdit& edit, const lexical::MacroVariables& macros,
                           char driveLetter, const std::string& question, EditServices& services) {
    if (edit.mode == EditMode::None)
        return EditOutcome::Unchanged;
    const ConfigRequest request = configRequest(edit, macros);
    return rewriteFile(
        services, startFileTarget(driveLetter, "CONFIG.SYS", "CONFIG.BAK", edit.mode, question),
        [&](std::string_view original, bool) { return rewriteConfig(original, request); });
}

} // namespace kestrel::sysedit
