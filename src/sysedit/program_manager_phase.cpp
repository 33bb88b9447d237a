#include "sysedit/program_manager_phase.h"

#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"

#include <functional>

namespace kestrel::sysedit {

namespace {

// A field as it goes into a command: quoted only when it would otherwise end the field (a
// comma) or the command (a parenthesis).
std::string field(const std::string& text) {
    if (text.find_first_of(",()") == std::string::npos)
        return text;
    return "\"" + text + "\"";
}

std::string command(std::string_view name, const std::string& argument) {
    return "[" + std::string(name) + "(" + argument + ")]";
}

std::string addItemCommand(const WinItemEntry& entry, const lexical::MacroVariables& macros) {
    std::string text = field(lexical::allMacrosExpanded(entry.commandLine, macros));
    if (!entry.itemName.empty()) {
        text += ", " + field(lexical::allMacrosExpanded(entry.itemName, macros));
        const std::string directory =
            entry.defaultDirectory.empty()
                ? std::string()
                : field(lexical::allMacrosExpanded(entry.defaultDirectory, macros));
        if (!entry.iconPath.empty()) {
            text += ", " + field(lexical::allMacrosExpanded(entry.iconPath, macros));
            if (!entry.iconIndex.empty()) {
                text += ", " + entry.iconIndex;
                if (!directory.empty())
                    text += ", -1, -1," + directory;
            } else if (!directory.empty()) {
                text += ", , -1, -1," + directory;
            }
        } else if (!directory.empty()) {
            text += ", , , -1, -1," + directory;
        }
    }
    return command("AddItem", text);
}

// Walks the entries: send is given each command in order, logItem each entry that is logged
// (its group and title).
void walkEntries(const std::vector<WinItemEntry>& entries, const lexical::MacroVariables& macros,
                 const std::function<void(const std::string&)>& send,
                 const std::function<void(const std::string&, const std::string&)>& logItem) {
    std::string lastGroup;
    for (const WinItemEntry& entry : entries) {
        std::string group = entry.group;
        lexical::expandLeadingMacro(group, macros);
        if (entry.mode == WinItemMode::Remove && entry.commandLine.empty()) {
            send(command("DeleteGroup", field(group)));
            continue;
        }
        if (lastGroup.empty() || !lexical::equalsIgnoringAsciiCase(lastGroup, group)) {
            send(command("CreateGroup", field(group)));
            lastGroup = group;
        }
        const std::string title = lexical::allMacrosExpanded(entry.itemName, macros);
        if (entry.commandLine.empty()) {
            logItem(group, title);
            continue;
        }
        if (entry.mode == WinItemMode::Remove) {
            send(command("DeleteItem", field(title)));
            continue;
        }
        if (entry.mode == WinItemMode::Replace)
            send(command("ReplaceItem", field(title)));
        send(addItemCommand(entry, macros));
        logItem(group, title);
    }
}

} // namespace

std::vector<std::string> programManagerCommands(const std::vector<WinItemEntry>& entries,
                                                const lexical::MacroVariables& macros) {
    std::vector<std::string> commands;
    walkEntries(
        entries, macros, [&](const std::string& text) { commands.push_back(text); },
        [](const std::string&, const std::string&) {});
    return commands;
}

bool runProgramManagerPhase(const std::vector<WinItemEntry>& entries,
                            const lexical::MacroVariables& macros,
                            os::ProgramManager& programManager, lexical::InstallLogSink& log) {
    if (entries.empty())
        return true;
    if (!programManager.begin())
        return false;
    walkEntries(
        entries, macros, [&](const std::string& text) { programManager.execute(text); },
        [&](const std::string& group, const std::string& title) {
            log.writeLogLine(lexical::logline::winItem(group, title));
        });
    programManager.end();
    return true;
}

} // namespace kestrel::sysedit
