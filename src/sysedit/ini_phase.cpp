#include "sysedit/ini_phase.h"

#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"
#include "lexical/path_text.h"

#include <optional>

namespace kestrel::sysedit {

namespace {

// Where the profile functions put the file: a name without a drive or a leading backslash
// lies in the Windows directory.
std::string fullIniPath(const std::string& file, const lexical::MacroVariables& macros) {
    return lexical::pathInDirectory(file, macros.windowsDir());
}

} // namespace

EditOutcome applyIniEdit(const IniEdit& edit, const lexical::MacroVariables& macros,
                         const std::string& questionPrefix, os::Profile& profile,
                         EditServices& services) {
    const std::string value = lexical::allMacrosExpanded(edit.value, macros);
    const std::string file = lexical::allMacrosExpanded(edit.file, macros);
    const std::string section = lexical::allMacrosExpanded(edit.section, macros);
    const std::string key = lexical::allMacrosExpanded(edit.key, macros);

    if (edit.mode == EditMode::ModifyThenAsk &&
        services.prompts.messageBox(questionPrefix + file + "?", "",
                                    os::kMbYesNo | os::kMbIconQuestion) == os::kIdNo)
        return EditOutcome::Declined;

    // Existence by attributes: a file that is there but locked was not created by this edit.
    std::optional<std::string> createdFile;
    if (!lexical::equalsIgnoringAsciiCase(file, "WIN.INI")) {
        std::string full = fullIniPath(file, macros);
        if (!services.files.readAttributes(full))
            createdFile = std::move(full);
    }
    const bool newSection = !profile.sectionExists(file, section);
    const std::optional<std::string> current = profile.readValue(file, section, key);
    if (current && lexical::compareIgnoringCp1252Case(*current, value) == 0)
        return EditOutcome::Unchanged;

    std::string written = value;
    std::string logLine;
    if (!current) {
        logLine = lexical::logline::iniValueSet(section, key, value, file);
    } else if (edit.add) {
        if (lexical::findIgnoringCp1252Case(*current, value) != std::string::npos)
            return EditOutcome::Unchanged;
        written = *current + " " + value;
        logLine = lexical::logline::iniValueChanged(section, key, value, file, written);
    } else {
        logLine = lexical::logline::iniValueChanged(section, key, value, file, *current);
    }

    if (!profile.writeValue(file, section, key, written)) {
        services.prompts.messageBox(std::string(kCannotChangeFile) + fullIniPath(file, macros),
                                    os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
        return EditOutcome::Failed;
    }
    if (createdFile)
        services.log.writeLogLine(lexical::logline::file(*createdFile));
    services.log.writeLogLine(logLine);
    if (newSection)
        services.log.writeLogLine(lexical::logline::iniSection(section, file));
    return EditOutcome::Changed;
}

void runIniPhase(const std::vector<IniEdit>& edits, const lexical::MacroVariables& macros,
                 const std::string& questionPrefix, os::Profile& profile, EditServices& services) {
    for (const IniEdit& edit : edits)
        applyIniEdit(edit, macros, questionPrefix, profile, services);
}

} // namespace kestrel::sysedit
