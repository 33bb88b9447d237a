// Commands that replace a text the installation shows: one quoted text each. An unquoted argument
// empties the text, except for the three uninstall texts, which may not be empty.
#include "script/command_support.h"

namespace kestrel::script {

namespace {

using TextField = std::string& (*)(CommandContext&);

// limit: the longest text the field holds (kLongTextCapacity: whatever fits on the line).
template <TextField field, size_t limit, bool mayBeEmpty = true>
CommandResult setText(CommandContext& c) {
    std::string text = c.cursor().readQuoted();
    if (text.size() > limit || (!mayBeEmpty && text.empty()))
        return CommandResult::Error;
    field(c) = std::move(text);
    return CommandResult::Done;
}

std::string& copyFile(CommandContext& c) {
    return c.script.copyFilePrompt;
}
std::string& autoexec(CommandContext& c) {
    return c.script.autoexecPrompt;
}
std::string& badDirectory(CommandContext& c) {
    return c.globals.settings.badDirectoryText;
}
std::string& ok(CommandContext& c) {
    return c.globals.settings.okText;
}
std::string& cancel(CommandContext& c) {
    return c.globals.settings.cancelText;
}
std::string& badDrive(CommandContext& c) {
    return c.globals.settings.badDriveText;
}
std::string& config(CommandContext& c) {
    return c.script.configPrompt;
}
std::string& cpu(CommandContext& c) {
    return c.script.cpuPrompt;
}
std::string& fileExists(CommandContext& c) {
    return c.globals.settings.fileExistsText;
}
std::string& iniFile(CommandContext& c) {
    return c.script.iniFilePrompt;
}
std::string& insertDisk(CommandContext& c) {
    return c.script.insertDiskPrompt;
}
std::string& locate(CommandContext& c) {
    return c.script.locatePrompt;
}
std::string& noGroup(CommandContext& c) {
    return c.script.noGroupPrompt;
}
std::string& noSpace(CommandContext& c) {
    return c.script.noSpacePrompt;
}
std::string& quit(CommandContext& c) {
    return c.script.quitPrompt;
}
std::string& reboot(CommandContext& c) {
    return c.script.rebootPrompt;
}
std::string& fileNotFound(CommandContext& c) {
    return c.globals.settings.fileNotFoundText;
}
std::string& uninstallBegin(CommandContext& c) {
    return c.globals.settings.uninstallBeginText;
}
std::string& uninstallEnd(CommandContext& c) {
    return c.globals.settings.uninstallEndText;
}
std::string& uninstallTitle(CommandContext& c) {
    return c.globals.settings.uninstallTitleText;
}

constexpr size_t kShort = kShortTextCapacity;
constexpr size_t kLine = kLongTextCapacity;

} // namespace

const PromptTextCommand kPromptTextCommands[kPromptTextCommandCount] = {
    {"COPYFILEPROMPT", setText<copyFile, kShort>},
    {"AUTOEXECPROMPT", setText<autoexec, kLine>},
    {"BADDIRPROMPT", setText<badDirectory, kShort>},
    {"OKPROMPT", setText<ok, kShort>},
    {"CANCELPROMPT", setText<cancel, kShort>},
    {"BADDRIVEPROMPT", setText<badDrive, kShort>},
    {"CONFIGPROMPT", setText<config, kLine>},
    {"CPUPROMPT", setText<cpu, kLine>},
    {"FILEEXISTPROMPT", setText<fileExists, kShort>},
    {"INIFILEPROMPT", setText<iniFile, kLine>},
    {"INSERTDISKPROMPT", setText<insertDisk, kShort>},
    {"LOCATEPROMPT", setText<locate, kShort>},
    {"NOGROUPPROMPT", setText<noGroup, kShort>},
    {"NOSPACEPROMPT", setText<noSpace, kLine>},
    {"QUITPROMPT", setText<quit, kShort>},
    {"REBOOTPROMPT", setText<reboot, kShort>},
    {"FILENOTFOUNDPROMPT", setText<fileNotFound, kShort>},
    {"UNINSTALLBEGINPROMPT", setText<uninstallBegin, kLine, false>},
    {"UNINSTALLENDPROMPT", setText<uninstallEnd, kLine, false>},
    {"UninstallTitlePrompt", setText<uninstallTitle, kLine, false>},
};

} // namespace kestrel::script
