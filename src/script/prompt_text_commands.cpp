// Commands that replace a text the installation shows: one quoted text each. An unquoted argument
// empties the text, except for the three uninstall texts, which may not be empty.
#include "lexical/quoted_field.h"
#include "script/command_support.h"

namespace kestrel::script {

namespace {

using TextField = std::string& (*)(CommandContext&);

// limit: the longest text the field holds (kLongTextCapacity: whatever fits on the line).
template <TextField field, size_t limit, bool mayBeEmpty = true>
CommandResult setText(CommandContext& c) {
    lexical::ParseStatus status;
    std::string text = lexical::readExpectedQuoted(c.cursor(), status, "text");
    if (text.size() > limit || (!mayBeEmpty && text.empty()))
        return CommandResult::Error;
    c.take(status);
    field(c) = std::move(text);
    return CommandResult::Done;
}

// The script's own text behind a member of its prompt texts.
template <std::string PromptTexts::*member> std::string& scriptText(CommandContext& c) {
    return c.script.prompts.*member;
}
// A process-wide text of the global settings.
template <std::string GlobalSettings::*member> std::string& globalText(CommandContext& c) {
    return c.globals.settings.*member;
}

constexpr size_t kShort = kShortTextCapacity;
constexpr size_t kLine = kLongTextCapacity;

} // namespace

std::span<const CommandSpec> promptTextCommands() {
    using P = PromptTexts;
    using G = GlobalSettings;
    static constexpr CommandSpec kCommands[] = {
        {"COPYFILEPROMPT", setText<scriptText<&P::copyFile>, kShort>},
        {"AUTOEXECPROMPT", setText<scriptText<&P::autoexec>, kLine>},
        {"BADDIRPROMPT", setText<globalText<&G::badDirectoryText>, kShort>},
        {"OKPROMPT", setText<globalText<&G::okText>, kShort>},
        {"CANCELPROMPT", setText<globalText<&G::cancelText>, kShort>},
        {"BADDRIVEPROMPT", setText<globalText<&G::badDriveText>, kShort>},
        {"CONFIGPROMPT", setText<scriptText<&P::config>, kLine>},
        {"CPUPROMPT", setText<scriptText<&P::cpu>, kLine>},
        {"FILEEXISTPROMPT", setText<globalText<&G::fileExistsText>, kShort>},
        {"INIFILEPROMPT", setText<scriptText<&P::iniFile>, kLine>},
        {"INSERTDISKPROMPT", setText<scriptText<&P::insertDisk>, kShort>},
        {"LOCATEPROMPT", setText<scriptText<&P::locate>, kShort>},
        {"NOGROUPPROMPT", setText<scriptText<&P::noGroup>, kShort>},
        {"NOSPACEPROMPT", setText<scriptText<&P::noSpace>, kLine>},
        {"QUITPROMPT", setText<scriptText<&P::quit>, kShort>},
        {"REBOOTPROMPT", setText<scriptText<&P::reboot>, kShort>},
        {"FILENOTFOUNDPROMPT", setText<globalText<&G::fileNotFoundText>, kShort>},
        {"UNINSTALLBEGINPROMPT", setText<globalText<&G::uninstallBeginText>, kLine, false>},
        {"UNINSTALLENDPROMPT", setText<globalText<&G::uninstallEndText>, kLine, false>},
        {"UninstallTitlePrompt", setText<globalText<&G::uninstallTitleText>, kLine, false>},
    };
    return kCommands;
}

} // namespace kestrel::script
