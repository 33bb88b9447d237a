// Commands that append one item to a list of the script: files and disk changes, edits of the
// machine's configuration files, Program Manager items, DELETE and RENAME.
#include "files/file_entry.h"
#include "lexical/quoted_field.h"
#include "script/command_support.h"
#include "sysedit/add_text.h"
#include "sysedit/autoexec_edit.h"
#include "sysedit/config_edit.h"
#include "sysedit/ini_edit.h"
#include "sysedit/win_item_entry.h"

namespace kestrel::script {

namespace {

files::FileEntryContext entryContext(CommandContext& c) {
    return {c.globals.settings.overwriteMode, c.globals.options, c.script.byteModeOff};
}

// Appends a parsed item to its list unless its line is an error.
template <typename T>
CommandResult append(CommandContext& c, lexical::Parsed<T> parsed, std::vector<T>& list) {
    if (c.take(parsed) != CommandResult::Done)
        return CommandResult::Error;
    list.push_back(std::move(parsed.item));
    return CommandResult::Done;
}

CommandResult commandFile(CommandContext& c) {
    const CommandResult result =
        append(c, files::parseFileEntry(c.cursor(), files::EntryCommand::File, entryContext(c)),
               c.script.fileEntries);
    if (result == CommandResult::Done)
        ++c.script.fileCount;
    return result;
}

CommandResult commandInsertDisk(CommandContext& c) {
    files::ParsedEntry parsed =
        files::parseFileEntry(c.cursor(), files::EntryCommand::InsertDisk, entryContext(c));
    // Kept as far as it was read: a disk change with odd words after its label still asks for the
    // disk.
    parsed.error = false;
    c.take(parsed);
    c.script.fileEntries.push_back(std::move(parsed.item));
    return CommandResult::Done;
}

CommandResult commandAutoexec(CommandContext& c) {
    return c.take(sysedit::parseAutoexec(c.script.autoexec, c.cursor()));
}

CommandResult commandConfig(CommandContext& c) {
    return c.take(sysedit::parseConfig(c.script.config, c.cursor()));
}

CommandResult commandWinItem(CommandContext& c) {
    return append(c, sysedit::parseWinItemEntry(c.cursor()), c.script.winItems);
}

CommandResult commandIniFile(CommandContext& c) {
    return append(c, sysedit::parseIniFile(c.cursor()), c.script.iniEdits);
}

CommandResult commandAddText(CommandContext& c) {
    const FoundPosition& found = c.state.foundPosition;
    const sysedit::SearchTokens tokens{found.left, found.right, found.lineNumber};
    return append(c, sysedit::parseAddText(c.cursor(), tokens), c.script.textInsertions);
}

CommandResult commandDelete(CommandContext& c) {
    DeleteItem item;
    item.path = lexical::readTextOrWord(c.cursor());
    if (item.path.empty() || item.path.size() > DeleteItem::kPathCapacity)
        return CommandResult::Error;
    c.script.deletes.push_back(std::move(item));
    return CommandResult::Done;
}

CommandResult commandRename(CommandContext& c) {
    RenameItem item;
    item.oldName = lexical::readTextOrWord(c.cursor());
    item.newName = lexical::readTextOrWord(c.cursor());
    if (item.oldName.empty() || item.newName.empty())
        return CommandResult::Error;
    c.script.renames.push_back(std::move(item));
    return CommandResult::Done;
}

} // namespace

std::span<const CommandSpec> listCommands() {
    static constexpr CommandSpec kCommands[] = {
        {"FILE", commandFile},         {"INSERTDISK", commandInsertDisk},
        {"AUTOEXEC", commandAutoexec}, {"CONFIG", commandConfig},
        {"WINITEM", commandWinItem},   {"INIFILE", commandIniFile},
        {"ADDTEXT", commandAddText},   {"DELETE", commandDelete},
        {"RENAME", commandRename},
    };
    return kCommands;
}

} // namespace kestrel::script
