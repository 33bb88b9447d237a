// Commands that take the lines after their own up to an end keyword: the screens (first, last, exit
// message), pop messages, groups of options and registry blocks.
#include "files/registry_block.h"
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/line_source.h"
#include "lexical/numbers.h"
#include "lexical/warning_texts.h"
#include "os/prompts.h"
#include "script/command_support.h"
#include "script/interpreter.h"
#include "script/interpreter_lines.h"
#include "ui/dialog_template.h"
#include "ui/screen_block.h"

#include <utility>

namespace kestrel::script {

namespace {

// Reads the lines of the command's block, up to its end keyword or the end of the lines, into the
// text store. An error is placed on the line at fault.
CommandResult readBlock(CommandContext& c, std::string_view ownFace) {
    const TitleFont& title = c.globals.settings.titleFont;
    const ui::MeasureFont font =
        ui::measureFontFor(ownFace, c.globals.settings.screenFont, title.italic, title.underline);
    const ui::ScreenBlockRead read = ui::readScreenBlock(c.lines, c.command->screenTextEnd, font,
                                                         c.services.measure, c.state.textStore);
    if (c.take(read) == CommandResult::Done)
        return CommandResult::Done;
    if (read.problem == ui::ScreenBlockError::ReadFailed)
        return CommandResult::Error;
    return c.failAt(c.lines.lastLineNumber(), read.errorLine);
}

// The screen a builder made, or the error placed on the block line at fault.
std::optional<BuiltScreen> takeBuilt(CommandContext& c, ui::BuiltTemplate built) {
    if (c.take(built) != CommandResult::Done) {
        if (built.errorLineIndex >= 0)
            c.failAt(c.keywordLineNumber + 1 + built.errorLineIndex, built.errorLine);
        return std::nullopt;
    }
    return BuiltScreen{std::move(built.bytes), std::move(built.lines)};
}

ui::DialogLook lookFor(CommandContext& c, std::string_view ownFace, int32_t ownSize) {
    const GlobalSettings& settings = c.globals.settings;
    return ui::dialogLookFor(ownFace, ownSize, settings.screenFont, settings.okText,
                             settings.cancelText);
}

// The optional quoted face and size after BEGINFIRSTSCREEN, BEGINLASTSCREEN and POPMESSAGE.
bool readFontFields(CommandContext& c, std::string& face, int32_t& size) {
    lexical::FieldCursor& cursor = c.cursor();
    face = cursor.readQuoted();
    if (face.size() > kFontFaceCapacity)
        return false;
    const std::string sizeWord = cursor.readWord();
    if (sizeWord.empty())
        return true;
    const lexical::LeadingNumber<int32_t> points = lexical::leadingInteger(sizeWord);
    if (!points.plain)
        c.warn(lexical::warnings::notANumber("font size", sizeWord, std::to_string(points.value)));
    // Dialog fonts are measured in points and kept in 16 bits; beyond a few hundred is a typing
    // error.
    constexpr int32_t kMaxPointSize = 999;
    if (points.value < 0 || points.value > kMaxPointSize)
        return false;
    size = points.value;
    return true;
}

CommandResult screen(CommandContext& c, std::optional<BuiltScreen>& target) {
    ParserState& state = c.state;
    if (!readFontFields(c, state.blockFontFace, state.blockFontSize))
        return CommandResult::Error;
    // The face and size belong to this block only.
    const std::string face = std::exchange(state.blockFontFace, {});
    const int32_t size = std::exchange(state.blockFontSize, 0);
    if (readBlock(c, face) != CommandResult::Done)
        return CommandResult::Error;
    std::optional<BuiltScreen> built = takeBuilt(
        c, ui::buildScreenTemplate(state.textStore, ui::ScreenMode::Screen, lookFor(c, face, size),
                                   c.globals.options, state.groupBuild));
    if (!built)
        return CommandResult::Error;
    target = std::move(built);
    return CommandResult::Done;
}

CommandResult commandBeginFirstScreen(CommandContext& c) {
    // The first screen was shown before the deferred pass began.
    if (c.deferredPass)
        return CommandResult::Error;
    return screen(c, c.script.firstScreen);
}

CommandResult commandBeginLastScreen(CommandContext& c) {
    return screen(c, c.script.lastScreen);
}

CommandResult commandExitMessage(CommandContext& c) {
    InstallScript& script = c.script;
    if (readBlock(c, {}) != CommandResult::Done)
        return CommandResult::Error;
    std::optional<BuiltScreen> built = takeBuilt(
        c, ui::buildScreenTemplate(c.state.textStore, ui::ScreenMode::ExitMessage,
                                   lookFor(c, {}, 0), c.globals.options, c.state.groupBuild));
    if (!built)
        return CommandResult::Error;
    script.exitScreen = std::move(built);
    c.services.prompts.showScreen(*script.exitScreen);
    return CommandResult::Stop;
}

CommandResult commandPopMessage(CommandContext& c) {
    InstallScript& script = c.script;
    lexical::FieldCursor& cursor = c.cursor();
    const std::string numberWord = cursor.readWord();
    if (!lexical::startsWithDigit(numberWord))
        return CommandResult::Error;
    if (static_cast<int32_t>(script.popMessages.size()) >= InstallScript::kMaxPopMessages)
        return CommandResult::Error;
    PopMessage pop;
    const lexical::LeadingNumber<int32_t> number = lexical::leadingInteger(numberWord);
    if (!number.plain)
        c.warn(lexical::warnings::notANumber("pop message number", numberWord,
                                             std::to_string(number.value)));
    pop.number = number.value;
    pop.fontSize = 0;
    if (!readFontFields(c, pop.fontFace, pop.fontSize))
        return CommandResult::Error;
    if (pop.fontFace.empty())
        pop.fontFace = c.globals.settings.screenFont;
    if (pop.fontSize == 0)
        pop.fontSize = 10;
    if (readBlock(c, pop.fontFace) != CommandResult::Done)
        return CommandResult::Error;
    std::optional<BuiltScreen> built = takeBuilt(
        c, ui::buildPopupTemplate(c.state.textStore, lookFor(c, pop.fontFace, pop.fontSize)));
    if (!built)
        return CommandResult::Error;
    pop.popup = std::move(*built);
    script.popMessages.push_back(std::move(pop));
    return CommandResult::Done;
}

// BEGINGROUP [EXCLUSIVE] [number]: two words are read. The group is numbered when either starts
// with a digit, and its number is the value of the number word however it is written.
CommandResult commandBeginGroup(CommandContext& c) {
    // The groups were offered before the deferred pass began.
    if (c.deferredPass)
        return CommandResult::Error;
    InstallScript& script = c.script;
    lexical::FieldCursor& cursor = c.cursor();
    const std::string first = cursor.readWord();
    const std::string second = cursor.readWord();
    const bool exclusive = lexical::equalsIgnoringAsciiCase(first, "EXCLUSIVE");
    const std::string& numberWord = exclusive ? second : first;
    const std::string& otherWord = exclusive ? first : second;
    const lexical::LeadingNumber<int32_t> value = lexical::leadingInteger(numberWord);
    std::optional<int32_t> number;
    if (lexical::startsWithDigit(first) || lexical::startsWithDigit(second)) {
        number = value.value;
        if (static_cast<int32_t>(script.groups.size()) >= InstallScript::kMaxGroups)
            return CommandResult::Error;
    }
    if (number && !value.plain)
        c.warn("group word \"" + numberWord + "\" read as the group number " +
               std::to_string(*number));
    else if (!number && !numberWord.empty())
        c.warn("group word \"" + numberWord + "\" is neither EXCLUSIVE nor a number: the " +
               "default group");
    if (!exclusive && !otherWord.empty())
        c.warn("group word \"" + otherWord + "\" is passed over" +
               (lexical::equalsIgnoringAsciiCase(otherWord, "EXCLUSIVE")
                    ? ": EXCLUSIVE counts only before the number"
                    : ""));

    if (readBlock(c, {}) != CommandResult::Done)
        return CommandResult::Error;
    ParserState& state = c.state;
    const int32_t firstOption = state.groupBuild.optionCount;
    const ui::DialogLook look = lookFor(c, {}, 0);
    std::optional<BuiltScreen> built = takeBuilt(
        c, exclusive ? ui::buildExclusiveGroupTemplate(state.textStore, look, c.globals.options,
                                                       state.groupBuild)
                     : ui::buildScreenTemplate(state.textStore, ui::ScreenMode::Group, look,
                                               c.globals.options, state.groupBuild));
    script.optionCount = state.groupBuild.optionCount;
    if (!built)
        return CommandResult::Error;

    if (!number) {
        script.defaultGroup.screen = std::move(built);
        script.defaultGroup.exclusive = exclusive;
        script.defaultGroup.endOption = script.optionCount;
        return CommandResult::Done;
    }
    GroupRecord group;
    group.screen = std::move(built);
    group.groupNumber = *number;
    group.firstOption = firstOption;
    // Doubled once per option before the group, in 32 bits.
    group.firstOptionBit = 1;
    for (int32_t i = 0; i < firstOption; ++i)
        group.firstOptionBit <<= 1;
    group.endOption = script.optionCount;
    group.exclusive = exclusive;
    script.groups.push_back(std::move(group));
    return CommandResult::Done;
}

CommandResult commandBeginRegistry(CommandContext& c) {
    if (!c.cursor().atEnd())
        c.warn(std::string(lexical::warnings::kTextIgnored));
    files::RegistryBlockParse parse = files::parseRegistryBlock(c.cursor(), c.lines);
    if (c.take(parse) != CommandResult::Done) {
        // Lines that ran out before ENDREGISTRY: the block that was never closed is at fault.
        if (c.lines.lastResult() == lexical::kLineEnd)
            return c.failAt(c.keywordLineNumber, c.keywordLine);
        return CommandResult::Error;
    }
    if (parse.block)
        c.script.registryBlocks.push_back(std::move(*parse.block));
    // The block's lines went through the cursor; the command's own line is read to its end.
    c.cursor().setText(c.keywordLine);
    c.cursor().skipToEnd();
    return CommandResult::Done;
}

} // namespace

std::span<const CommandSpec> blockCommands() {
    static constexpr CommandSpec kCommands[] = {
        {"BEGINFIRSTSCREEN", commandBeginFirstScreen, kAnyPass, "ENDFIRSTSCREEN"},
        {"BEGINLASTSCREEN", commandBeginLastScreen, kAnyPass, "ENDLASTSCREEN"},
        {"EXITMESSAGE", commandExitMessage, kAnyPass, "EXIT"},
        {"POPMESSAGE", commandPopMessage, kAnyPass, "ENDPOP"},
        {"BEGINGROUP", commandBeginGroup, kAnyPass, "ENDGROUP"},
        {"BEGINREGISTRY", commandBeginRegistry},
    };
    return kCommands;
}

} // namespace kestrel::script
