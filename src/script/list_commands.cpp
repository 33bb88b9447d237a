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

std::unique_ptr<files::FileEntry> parseEntry(CommandContext& c, files::EntryCommand command) {
    const files::FileEntryContext context{c.globals.settings.overwriteMode, c.globals.options,
                                          c.script.byteModeOff};
    return std::make_unique<files::FileEntry>(files::parseFileEntry(c.cursor(), command, context));
}

} // namespace

CommandResult commandFile(CommandContext& c) {
    std::unique_ptr<files::FileEntry> entry = parseEntry(c, files::EntryCommand::File);
    if (entry->error)
        return CommandResult::Error;
    c.script.fileEntries.push_back(std::move(entry));
    ++c.script.fileCount;
    return CommandResult::Done;
}

CommandResult commandInsertDisk(CommandContext& c) {
    // Kept as far as it was read: a disk change with odd words after its label still asks for the
    // disk.
    c.script.fileEntries.push_back(parseEntry(c, files::EntryCommand::InsertDisk));
    return CommandResult::Done;
}

CommandResult commandAutoexec(CommandContext& c) {
    return failedIf(sysedit::parseAutoexec(c.script.autoexec, c.cursor()) !=
                    sysedit::EditParseResult::Ok);
}

CommandResult commandConfig(CommandContext& c) {
    return failedIf(sysedit::parseConfig(c.script.config, c.cursor()) !=
                    sysedit::EditParseResult::Ok);
}

CommandResult commandWinItem(CommandContext& c) {
    std::unique_ptr<sysedit::WinItemEntry> item = sysedit::parseWinItemEntry(c.cursor());
    if (item->error)
        return CommandResult::Error;
    c.script.winItems.push_back(std::move(item));
    return CommandResult::Done;
}

CommandResult commandIniFile(CommandContext& c) {
    std::unique_ptr<sysedit::IniEdit> edit = sysedit::parseIniFile(c.cursor());
    if (edit->error)
        return CommandResult::Error;
    c.script.iniEdits.push_back(std::move(edit));
    return CommandResult::Done;
}

CommandResult commandAddText(CommandContext& c) {
    const FoundPosition& found = c.script.foundPosition;
    const sysedit::SearchTokens tokens{found.left, found.right, found.lineNumber};
    std::unique_ptr<sysedit::TextInsertion> insertion = sysedit::parseAddText(c.cursor(), tokens);
    if (insertion->error)
        return CommandResult::Error;
    c.script.textInsertions.push_back(std::move(insertion));
    return CommandResult::Done;
}

CommandResult commandDelete(CommandContext& c) {
    auto item = std::make_unique<DeleteItem>();
    item->path = lexical::readTextOrWord(c.cursor());
    if (item->path.empty() || item->path.size() > DeleteItem::kPathCapacity)
        return CommandResult::Error;
    c.script.deletes.push_back(std::move(item));
    return CommandResult::Done;
}

CommandResult commandRename(CommandContext& c) {
    auto item = std::make_unique<RenameItem>();
    item->oldName = lexical::readTextOrWord(c.cursor());
    item->newName = lexical::readTextOrWord(c.cursor());
    if (item->oldName.empty() || item->newName.empty())
        return CommandResult::Error;
    c.script.renames.push_back(std::move(item));
    return CommandResult::Done;
}

} // namespace kestrel::script
