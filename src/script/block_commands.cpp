// Commands that take the lines after their own up to an end keyword: the screens (first, last, exit
// message), pop messages, groups of options and registry blocks.
#include "files/registry_block.h"
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/line_source.h"
#include "lexical/numbers.h"
#include "os/prompts.h"
#include "script/command_support.h"
#include "script/interpreter.h"
#include "script/interpreter_lines.h"
#include "ui/dialog_template.h"
#include "ui/screen_block.h"

#include <utility>

namespace kestrel::script {

namespace {

// Reads the lines of the command's block, up to its end keyword, into the text store. An error is
// placed on the line at fault, or on the keyword line when the lines ran out before the end.
CommandResult readBlock(CommandContext& c, std::string_view ownFace) {
    const TitleFont& title = c.globals.settings.titleFont;
    const ui::MeasureFont font =
        ui::measureFontFor(ownFace, c.globals.settings.screenFont, title.italic, title.underline);
    const ui::ScreenBlockRead read = ui::readScreenBlock(c.lines, c.command->screenTextEnd, font,
                                                         c.services.measure, c.state.textStore);
    if (c.take(read) == CommandResult::Done)
        return CommandResult::Done;
    switch (read.problem) {
    case ui::ScreenBlockError::None:
        break;
    case ui::ScreenBlockError::MissingEnd:
        return c.failAt(c.keywordLineNumber, c.keywordLine);
    case ui::ScreenBlockError::ReadFailed:
        return CommandResult::Error;
    case ui::ScreenBlockError::LineTooLong:
    case ui::ScreenBlockError::TooManyLines:
        return c.failAt(c.lines.lastLineNumber(), read.errorLine);
    }
    return CommandResult::Error;
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
bool readFontFields(lexical::FieldCursor& cursor, std::string& face, int32_t& size) {
    face = cursor.readQuoted();
    if (face.size() > kFontFaceCapacity)
        return false;
    const std::string sizeWord = cursor.readWord();
    if (sizeWord.empty())
        return true;
    // Dialog fonts are measured in points; anything beyond a few hundred is a typing error.
    constexpr int32_t kMaxPointSize = 999;
    const std::optional<int32_t> points = lexical::parseSmallNumber(sizeWord, kMaxPointSize + 1);
    if (!points)
        return false;
    size = *points;
    return true;
}

CommandResult screen(CommandContext& c, std::optional<BuiltScreen>& target) {
    ParserState& state = c.state;
    if (!readFontFields(c.cursor(), state.blockFontFace, state.blockFontSize))
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
    pop.number = lexical::leadingNumber(numberWord);
    pop.fontSize = 0;
    if (!readFontFields(cursor, pop.fontFace, pop.fontSize))
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

CommandResult commandBeginGroup(CommandContext& c) {
    // The groups were offered before the deferred pass began.
    if (c.deferredPass)
        return CommandResult::Error;
    InstallScript& script = c.script;
    lexical::FieldCursor& cursor = c.cursor();
    bool exclusive = false;
    std::string numberWord = cursor.readWord();
    if (lexical::equalsIgnoringAsciiCase(numberWord, "EXCLUSIVE")) {
        exclusive = true;
        numberWord = cursor.readWord();
    }
    // Nothing may follow the number: a misspelt EXCLUSIVE would otherwise change the group.
    if (!cursor.atEnd())
        return CommandResult::Error;
    std::optional<int32_t> number;
    if (!numberWord.empty()) {
        constexpr int32_t kNumberLimit = 1000000000;
        number = lexical::parseSmallNumber(numberWord, kNumberLimit);
        if (!number)
            return CommandResult::Error;
        if (static_cast<int32_t>(script.groups.size()) >= InstallScript::kMaxGroups)
            return CommandResult::Error;
    }

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
    files::RegistryBlockParse parse = files::parseRegistryBlock(c.cursor(), c.lines);
    if (c.take(parse) != CommandResult::Done) {
        // Lines that ran out before ENDREGISTRY: the block that was never closed is at fault.
        if (c.lines.lastResult() == lexical::kLineEnd)
            return c.failAt(c.keywordLineNumber, c.keywordLine);
        return CommandResult::Error;
    }
    if (parse.block)
        c.script.registryBlocks.push_back(std::move(*parse.block));
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
