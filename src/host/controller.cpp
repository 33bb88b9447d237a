#include "host/controller.h"

#include "files/delete_rename.h"
#include "files/disk_prompts.h"
#include "files/registry_writer.h"
#include "host/destination_step.h"
#include "lexical/install_log_lines.h"
#include "sysedit/add_text_phase.h"
#include "sysedit/ini_phase.h"
#include "sysedit/program_manager_phase.h"
#include "sysedit/self_registration.h"
#include "sysedit/start_file_phases.h"

namespace kestrel::host {

using files::InstallResult;

files::InstallResult Controller::run(std::string& deliveredPath) {
    if (!state_.questionsAsked) {
        // Once per installation, whatever a later step carries.
        state_.questionsAsked = true;
        const InstallResult asked = askQuestions();
        if (asked != InstallResult::Done) {
            finish(asked);
            return asked;
        }
    }
    InstallResult result = walkList(deliveredPath);
    if (result == InstallResult::Waiting)
        return result;
    if (result == InstallResult::Done)
        result = afterList();
    finish(result);
    return result;
}

bool Controller::processorSuffices() {
    const int32_t minimum = script_.minCpu;
    if (minimum <= 0)
        return true;
    const os::ProcessorFamily family = services_.details.processorFamily();
    const bool fails = (minimum >= 486 && family == os::ProcessorFamily::I386) ||
                       (minimum >= 586 && family != os::ProcessorFamily::Pentium);
    if (fails) {
        services_.prompts.messageBox(script_.prompts.cpu + std::to_string(minimum),
                                     os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
    }
    return !fails;
}

bool Controller::chooseGroups() {
    lexical::OptionTables& options = globals_.options;
    const script::DefaultGroup& top = script_.defaultGroup;
    if (!top.screen)
        return true;
    if (!services_.dialogs.chooseOptions(*top.screen, top.exclusive, 0, top.endOption, options))
        return false;
    for (int32_t option = 0; option < top.endOption; ++option) {
        if (!options.selected(option))
            continue;
        for (int32_t number = 0; number < lexical::OptionTables::kSize; ++number) {
            if (options.optionOfGroup(number) != option)
                continue;
            for (const script::GroupRecord& group : script_.groups) {
                if (group.groupNumber == number && group.screen &&
                    !services_.dialogs.chooseOptions(*group.screen, group.exclusive,
                                                     group.firstOption, group.endOption, options))
                    return false;
            }
        }
    }
    return true;
}

files::InstallResult Controller::askQuestions() {
    files::InstallLog& log = installation_.log;
    log.setLogging(globals_.settings.uninstall);
    if (!processorSuffices())
        return InstallResult::Abort;
    if (script_.firstScreen) {
        const os::PromptResult answer = services_.prompts.showScreen(*script_.firstScreen);
        script_.firstScreen.reset();
        if (answer == os::kIdCancel || interrupted())
            return InstallResult::Abort;
    }
    for (int32_t number = 1; number <= script::InstallScript::kAskCount; ++number) {
        std::optional<script::AskPrompt>& ask = script_.asks[size_t(number - 1)];
        if (!ask)
            continue;
        if (!services_.dialogs.ask(*ask) || interrupted())
            return InstallResult::Abort;
        globals_.macros.setAsk(number, ask->answer);
        ask.reset();
    }
    if (!chooseGroups() || interrupted())
        return InstallResult::Abort;
    if (installation_.interpreter.reader().deferredBlocksExist()) {
        const script::RunReport report = installation_.interpreter.runDeferredPass();
        if (!report.succeeded()) {
            if (report.error)
                script::showScriptError(services_.prompts, *report.error);
            return InstallResult::Abort;
        }
    }
    log.setLogging(globals_.settings.uninstall);
    installation_.archiver = globals_.settings.compression == script::Compression::Lha
                                 ? files::Archiver::Lha
                                 : files::Archiver::Pkware;

    DestinationContext destination{
        script_,           globals_, services_.dialogs,        services_.prompts,
        services_.volumes, log,      installation_.directories};
    const std::optional<uint64_t> free = settleDestination(destination);
    if (!free || interrupted())
        return InstallResult::Abort;
    const int64_t required = requiredSpace(script_, globals_.options);
    if (required != 0 && *free < uint64_t(required)) {
        services_.prompts.messageBox(script_.prompts.noSpace, os::kDefaultCaption,
                                     os::kMbOk | os::kMbIconExclamation);
        return InstallResult::Abort;
    }
    ui::ByteProgress& bytes = installation_.bytes;
    if (required > 100)
        bytes.total = required;
    if (script_.progressTotal > 100)
        bytes.total = script_.progressTotal;

    const script::GlobalSettings& settings = globals_.settings;
    log.write(lexical::logline::uninstallBeginPrompt(settings.uninstallBeginText));
    log.write(lexical::logline::uninstallEndPrompt(settings.uninstallEndText));
    log.write(lexical::logline::uninstallTitlePrompt(settings.uninstallTitleText));
    files::FileOperationsContext operations{services_.files, globals_.macros,
                                            installation_.directories, log, log.path()};
    for (const script::RenameItem& rename : script_.renames)
        files::renameFiles(operations, rename.oldName, rename.newName);
    return InstallResult::Done;
}

void Controller::showPopup(int32_t id) {
    for (const script::PopMessage& popup : script_.popMessages) {
        if (popup.number != id)
            continue;
        if (!popup.popup.dialogTemplate.empty()) {
            services_.dialogs.showPopup(popup);
            state_.popupShown = true;
        }
        return;
    }
}

files::InstallResult Controller::walkList(std::string& deliveredPath) {
    std::vector<files::FileEntry>& entries = script_.fileEntries;
    InstallerDialogs& dialogs = services_.dialogs;
    installation_.bytes.countFiles = script_.byteModeOff;
    while (size_t(state_.nextFileIndex) < entries.size()) {
        if (interrupted()) {
            closeDialogs();
            return InstallResult::Abort;
        }
        const size_t position = size_t(state_.nextFileIndex);
        files::FileEntry& entry = entries[position];
        if (deliveredPath.empty() && entry.popupId > 0)
            showPopup(entry.popupId);
        if (!dialogs.progressOpen())
            dialogs.openProgress(script_.fileCount, installation_.bytes);
        else if (deliveredPath.empty() && state_.popupShown)
            dialogs.restackProgressBelowPopup();

        if (entry.kind == files::EntryKind::File) {
            if (entry.isSelected(globals_.options)) {
                lexical::expandLeadingMacro(entry.name, globals_.macros);
                dialogs.showCurrentFile(script_.prompts.copyFile, entry.name);
                const InstallResult result =
                    installation_.pipeline.installEntry(entry, deliveredPath);
                if (result == InstallResult::Waiting)
                    return result;
                if (result == InstallResult::Abort) {
                    closeDialogs();
                    return result;
                }
                dialogs.progressStep(true);
            }
        } else {
            state_.currentDiskIndex = int32_t(position);
            // Unselected files up to the next selected one are passed over here; the disk is
            // asked for only when a selected file needs it.
            size_t last = position;
            while (last + 1 < entries.size() && entries[last + 1].kind == files::EntryKind::File &&
                   !entries[last + 1].isSelected(globals_.options))
                ++last;
            state_.nextFileIndex = int32_t(last);
            if (last + 1 < entries.size() && entries[last + 1].kind == files::EntryKind::File &&
                !askForDiskAt(position)) {
                closeDialogs();
                return InstallResult::Abort;
            }
        }
        ++state_.nextFileIndex;
    }
    return InstallResult::Done;
}

bool Controller::askForDiskAt(size_t index) {
    files::PackedFileLayer& sources = installation_.sources;
    files::DiskPromptContext context{services_.prompts,
                                     services_.volumes,
                                     globals_.macros,
                                     script_.prompts.insertDisk,
                                     script_.prompts.quit,
                                     [&sources] {
                                         sources.closeContainer();
                                         sources.switchLookupOff();
                                     },
                                     installation_.stopping};
    return files::askForDisk(context, script_.fileEntries, index);
}

bool Controller::askForNextDisk(bool firstRequest) {
    const std::vector<files::FileEntry>& entries = script_.fileEntries;
    if (firstRequest) {
        size_t next = size_t(std::max(state_.nextFileIndex, state_.currentDiskIndex)) + 1;
        while (next < entries.size() && entries[next].kind == files::EntryKind::File)
            ++next;
        if (next >= entries.size())
            return true;
        state_.currentDiskIndex = int32_t(next);
        state_.nextFileIndex = int32_t(next);
    } else if (state_.currentDiskIndex < 0) {
        return true;
    }
    return !askForDiskAt(size_t(state_.currentDiskIndex));
}

files::InstallResult Controller::afterList() {
    ui::ByteProgress& bytes = installation_.bytes;
    if (services_.dialogs.progressOpen() && bytes.byteMode()) {
        bytes.done = bytes.total;
        services_.dialogs.progressStep(true);
    }
    closeDialogs();
    if (interrupted())
        return InstallResult::Abort;

    lexical::MacroVariables& macros = globals_.macros;
    sysedit::EditServices edits{services_.files, services_.prompts, installation_.log};
    const char drive = globals_.defaultDriveLetter;
    sysedit::runAutoexecPhase(script_.autoexec, macros, drive,
                              services_.details.environmentVariable("CONFIG"),
                              script_.prompts.autoexec, edits);
    sysedit::runConfigPhase(script_.config, macros, drive, script_.prompts.config, edits);
    sysedit::runIniPhase(script_.iniEdits, macros, script_.prompts.iniFile, services_.profile,
                         edits);
    sysedit::runSelfRegistrationPhase(globals_.settings.regServers, macros, services_.servers,
                                      services_.prompts, installation_.log);
    sysedit::runAddTextPhase(script_.textInsertions, macros, edits);
    if (script_.lastScreen) {
        const os::PromptResult answer = services_.prompts.showScreen(*script_.lastScreen);
        script_.lastScreen.reset();
        if (answer == os::kIdCancel || interrupted())
            return InstallResult::Abort;
    }
    files::FileOperationsContext operations{services_.files, macros, installation_.directories,
                                            installation_.log, installation_.log.path()};
    for (const script::DeleteItem& item : script_.deletes)
        files::deleteFiles(operations, item.path);
    for (lexical::MacroString& command : script_.runAtExit)
        command.expandAllMacros(macros);
    return InstallResult::Done;
}

void Controller::writeRegistryAndProgramManager() {
    files::runRegistryPhase(script_.registryBlocks, services_.registry, globals_.macros,
                            installation_.log);
    if (!script_.winItems.empty())
        sysedit::runProgramManagerPhase(script_.winItems, globals_.macros, services_.programManager,
                                        installation_.log);
}

void Controller::closeDialogs() {
    services_.dialogs.closeProgressAndPopup();
}

void Controller::finish(files::InstallResult result) {
    if (result == InstallResult::Abort)
        globals_.settings.rebootMode = script::RebootMode::None;
}

} // namespace kestrel::host
