// Commands that set one value of the settings record or of the global settings.
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/numbers.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"
#include "lexical/quoted_field.h"
#include "lexical/warning_texts.h"
#include "lexical/word_table.h"
#include "script/command_support.h"
#include "ui/colour.h"

#include <string>

namespace kestrel::script {

namespace {

constexpr int kMaxTitleOptions = 5;

using lexical::lookUpWord;
using lexical::NamedWord;

// Stores what a command's word stands for; an error for a word that stands for nothing.
template <typename T> CommandResult store(std::optional<T> value, T& setting) {
    if (!value)
        return CommandResult::Error;
    setting = *value;
    return CommandResult::Done;
}

// A quoted command line, neither missing nor empty.
std::optional<std::string> readCommandLine(lexical::FieldCursor& cursor) {
    if (!lexical::quotedFieldFollows(cursor))
        return std::nullopt;
    std::string text = cursor.readQuoted();
    if (text.empty())
        return std::nullopt;
    return text;
}

// The picture file of SCREENGRAPHIC and INTROSCREEN, quoted or not; false when it is longer
// than a path. A line without one makes an object without a picture.
bool readPictureFile(CommandContext& c, std::string& fileName) {
    fileName = lexical::readTextOrWord(c.cursor());
    if (fileName.empty())
        c.warn("no picture file: there is nothing to show");
    return fileName.size() <= kPathCapacity;
}

// A whole number as atoi reads one; a word that is more than the number is reported.
int32_t readInteger(CommandContext& c, std::string_view what, std::string_view word) {
    const lexical::LeadingNumber<int32_t> number = lexical::leadingInteger(word);
    if (!number.plain)
        c.warn(lexical::warnings::notANumber(what, word, std::to_string(number.value)));
    return number.value;
}

// A size in bytes (MINDISKSPACE, PROGRESSBAR); none beyond what 32 bits hold.
std::optional<int32_t> readSize(CommandContext& c, std::string_view word) {
    const auto size = lexical::leadingSize(word);
    if (size && !size->plain)
        c.warn(lexical::warnings::notANumber("size", word, std::to_string(size->value)));
    return size ? std::optional<int32_t>(size->value) : std::nullopt;
}

// A colour is a parenthesised field when one follows, otherwise a word. Whatever it says, the
// colour parser reads it; a text it cannot read leaves the colour as it was.
void readColour(CommandContext& c, ui::Colour& colour) {
    lexical::FieldCursor& cursor = c.cursor();
    cursor.skipSeparators();
    if (!cursor.atEnd() && cursor.rest().front() == '(') {
        if (cursor.rest().find(')') == std::string_view::npos) {
            cursor.skipToEnd();
            c.warn("unclosed parenthesis: the colour is left as it was");
            return;
        }
        c.take(ui::parseColour(cursor.readParenthesized(), colour));
        return;
    }
    c.take(ui::parseColour(cursor.readWord(), colour));
}

CommandResult commandTitleColour(CommandContext& c) {
    readColour(c, c.script.titleColour);
    return CommandResult::Done;
}

CommandResult commandScreenColour(CommandContext& c) {
    lexical::FieldCursor& cursor = c.cursor();
    if (cursor.atEnd()) {
        c.warn("no colour: the colours are left as they were");
        return CommandResult::Done;
    }
    readColour(c, c.script.screenColourTop);
    if (cursor.atEnd())
        c.script.screenColourBottom = c.script.screenColourTop;
    else
        readColour(c, c.script.screenColourBottom);
    return CommandResult::Done;
}

CommandResult commandTitle(CommandContext& c) {
    lexical::FieldCursor& cursor = c.cursor();
    if (cursor.atEnd())
        return CommandResult::Error;
    lexical::ParseStatus status;
    std::string title = lexical::readExpectedQuoted(cursor, status, "title");
    c.take(status);
    if (title.size() > kTitleCapacity)
        return CommandResult::Error;
    c.script.title = std::move(title);
    TitleFont& font = c.globals.settings.titleFont;
    // An empty option, or a face that begins with a blank, ends the options.
    for (int option = 0; option < kMaxTitleOptions && !cursor.atEnd(); ++option) {
        if (lexical::quotedFieldFollows(cursor)) {
            std::string face = cursor.readQuoted();
            if (face.empty() || face.front() == ' ')
                break;
            if (face.size() > kFontFaceCapacity)
                return CommandResult::Error;
            font.face = std::move(face);
            continue;
        }
        const std::string word = cursor.readWord();
        if (word.empty())
            break;
        if (lexical::startsWithDigit(word))
            font.size = readInteger(c, "title font size", word);
        else if (lexical::equalsIgnoringAsciiCase(word, "Bold"))
            font.bold = true;
        else if (lexical::equalsIgnoringAsciiCase(word, "Italic"))
            font.italic = true;
        else if (lexical::equalsIgnoringAsciiCase(word, "Underline"))
            font.underline = true;
        else
            return CommandResult::Error;
    }
    return CommandResult::Done;
}

CommandResult commandFontName(CommandContext& c) {
    lexical::ParseStatus status;
    std::string face = lexical::readExpectedQuoted(c.cursor(), status, "font face");
    c.take(status);
    if (face.size() > kFontFaceCapacity)
        return CommandResult::Error;
    c.globals.settings.screenFont = std::move(face);
    return CommandResult::Done;
}

CommandResult commandShowReadme(CommandContext& c) {
    std::string file = lexical::readTextOrWord(c.cursor());
    if (file.size() > kReadmeCapacity)
        return CommandResult::Error;
    c.script.readmeFile = std::move(file);
    return CommandResult::Done;
}

CommandResult commandMinCpuType(CommandContext& c) {
    const std::string word = c.cursor().readWord();
    // "80" and the processor number: 80386, 80486...
    if (word.compare(0, 2, "80") != 0)
        return CommandResult::Error;
    c.script.minCpu = readInteger(c, "processor", std::string_view(word).substr(2));
    return CommandResult::Done;
}

CommandResult commandMinDiskSpace(CommandContext& c) {
    const std::optional<int32_t> size = readSize(c, c.cursor().readWord());
    if (!size)
        return CommandResult::Error;
    const std::string optionWord = c.cursor().readWord();
    if (optionWord.empty()) {
        c.script.minDiskSpace = *size;
        return CommandResult::Done;
    }
    const int32_t groupNumber = readInteger(c, "group number", optionWord);
    if (groupNumber < 0 || groupNumber >= lexical::OptionTables::kSize)
        return CommandResult::Error;
    c.groupMinDiskSpace[groupNumber] = *size;
    return CommandResult::Done;
}

CommandResult commandProgressBar(CommandContext& c) {
    const std::string word = c.cursor().readWord();
    if (word.empty())
        return CommandResult::Error;
    return store(readSize(c, word), c.script.progressTotal);
}

CommandResult commandOverwriteFile(CommandContext& c) {
    return store(lexical::overwriteModeFromWord(c.cursor().readWord()),
                 c.globals.settings.overwriteMode);
}

CommandResult commandCompression(CommandContext& c) {
    static constexpr NamedWord<Compression> kKinds[] = {{"PKWARE", Compression::Pkware},
                                                        {"LHA", Compression::Lha}};
    return store(lookUpWord(kKinds, c.cursor().readWord()), c.globals.settings.compression);
}

CommandResult commandUninstall(CommandContext& c) {
    static constexpr NamedWord<bool> kSwitch[] = {{"YES", true}, {"NO", false}};
    return store(lookUpWord(kSwitch, c.cursor().readWord()), c.globals.settings.uninstall);
}

CommandResult commandRebootWindows(CommandContext& c) {
    c.globals.settings.rebootMode = RebootMode::RestartWindows;
    return CommandResult::Done;
}

CommandResult commandRebootSystem(CommandContext& c) {
    c.globals.settings.rebootMode = RebootMode::RestartSystem;
    return CommandResult::Done;
}

CommandResult commandReboot(CommandContext& c) {
    static constexpr NamedWord<RebootMode> kModes[] = {{"Windows", RebootMode::RestartWindows},
                                                       {"Window", RebootMode::RestartWindows},
                                                       {"System", RebootMode::RestartSystem}};
    return store(lookUpWord(kModes, c.cursor().readWord()), c.globals.settings.rebootMode);
}

CommandResult commandRunAtStart(CommandContext& c) {
    if (c.deferredPass)
        return CommandResult::Error;
    std::optional<std::string> command = readCommandLine(c.cursor());
    if (!command)
        return CommandResult::Error;
    c.script.runAtStart.setText(*command);
    return CommandResult::Done;
}

CommandResult commandRunAtExit(CommandContext& c) {
    std::optional<std::string> command = readCommandLine(c.cursor());
    if (!command)
        return CommandResult::Error;
    c.script.runAtExit.emplace_back(std::string_view(*command));
    return CommandResult::Done;
}

CommandResult commandRegServer(CommandContext& c) {
    std::string file = lexical::readTextOrWord(c.cursor());
    if (file.empty())
        return CommandResult::Error;
    c.globals.settings.regServers.push_back(std::move(file));
    return CommandResult::Done;
}

CommandResult commandScreenGraphic(CommandContext& c) {
    using P = PicturePosition;
    static constexpr NamedWord<PicturePosition> kPositions[] = {
        {"TOPLEFT", P::TopLeft},
        {"TOPMIDDLE", P::TopMiddle},
        {"TOPRIGHT", P::TopRight},
        {"MIDDLERIGHT", P::MiddleRight},
        {"BOTTOMRIGHT", P::BottomRight},
        {"BOTTOMMIDDLE", P::BottomMiddle},
        {"BOTTOMLEFT", P::BottomLeft},
        {"MIDDLELEFT", P::MiddleLeft},
        {"TILE", P::Tile},
        {"FULLSCREEN", P::FullScreen},
    };
    ScreenGraphic graphic;
    if (!readPictureFile(c, graphic.fileName))
        return CommandResult::Error;
    const std::string positionWord = c.cursor().readWord();
    if (!positionWord.empty()) {
        const std::optional<PicturePosition> position = lookUpWord(kPositions, positionWord);
        if (!position)
            return CommandResult::Error;
        graphic.position = *position;
    }
    c.script.screenGraphic = std::move(graphic);
    return CommandResult::Done;
}

CommandResult commandIntroScreen(CommandContext& c) {
    IntroScreen intro;
    if (!readPictureFile(c, intro.fileName))
        return CommandResult::Error;
    const std::string secondsWord = c.cursor().readWord();
    if (!secondsWord.empty()) {
        // Seconds the picture stays, counted in milliseconds by the timer; a day is more than
        // anyone waits for an installer.
        constexpr int32_t kMaxSeconds = 86400;
        intro.seconds = readInteger(c, "seconds", secondsWord);
        if (intro.seconds < 0 || intro.seconds > kMaxSeconds)
            return CommandResult::Error;
    }
    c.script.introScreen = std::move(intro);
    return CommandResult::Done;
}

} // namespace

std::span<const CommandSpec> settingsCommands() {
    static constexpr CommandSpec kCommands[] = {
        {"TITLE", commandTitle, kMainPassOnly},
        {"TITLECOLOR", commandTitleColour, kMainPassOnly},
        {"SCREENCOLOR", commandScreenColour, kMainPassOnly},
        {"FONTNAME", commandFontName},
        {"SHOWREADME", commandShowReadme},
        {"MINCPUTYPE", commandMinCpuType, kMainPassOnly},
        {"MINDISKSPACE", commandMinDiskSpace, kMainPassOnly},
        {"PROGRESSBAR", commandProgressBar},
        {"OVERWRITEFILE", commandOverwriteFile},
        {"COMPRESSION", commandCompression},
        {"UNINSTALL", commandUninstall},
        {"REBOOTWINDOWS", commandRebootWindows},
        {"REBOOTSYSTEM", commandRebootSystem},
        {"REBOOT", commandReboot},
        {"RUNATSTART", commandRunAtStart, kMainPassOnly},
        {"RUNATEXIT", commandRunAtExit},
        {"REGSERVER", commandRegServer},
        {"SCREENGRAPHIC", commandScreenGraphic, kMainPassOnly},
        {"INTROSCREEN", commandIntroScreen, kMainPassOnly},
    };
    return kCommands;
}

} // namespace kestrel::script
