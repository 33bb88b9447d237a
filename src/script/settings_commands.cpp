// Commands that set one value of the settings record or of the global settings.
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/line_words.h"
#include "lexical/macros.h"
#include "lexical/numbers.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"
#include "lexical/quoted_field.h"
#include "lexical/word_table.h"
#include "script/command_support.h"
#include "ui/colour.h"

#include <algorithm>

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

// The picture file of SCREENGRAPHIC and INTROSCREEN, quoted or not; false when it is missing or
// longer than a path.
bool readPictureFile(lexical::FieldCursor& cursor, std::string& fileName) {
    fileName = lexical::readTextOrWord(cursor);
    return !fileName.empty() && fileName.size() <= kPathCapacity;
}

// A colour is a parenthesised field when one follows, otherwise a word.
std::string readColourText(lexical::FieldCursor& cursor) {
    cursor.skipSeparators();
    if (!cursor.atEnd() && cursor.rest().front() == '(')
        return cursor.readParenthesized();
    return cursor.readWord();
}

// Three numbers 0..255 separated by commas, or a colour name. The colour parser leaves the colour
// as it was for any other text; a script that says "Purple" means something else.
bool readColour(lexical::FieldCursor& cursor, ui::Colour& colour) {
    const std::string text = readColourText(cursor);
    if (text.find(',') != std::string::npos) {
        size_t fields = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(',', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string_view field =
                lexical::trimBlanks(std::string_view(text).substr(start, end - start));
            if (!lexical::parseSmallNumber(field, 256))
                return false;
            ++fields;
            start = end + 1;
        }
        if (fields != 3)
            return false;
    } else {
        // A name gives the same colour whatever the colour was before.
        ui::Colour probeA{1, 2, 3};
        ui::Colour probeB{4, 5, 6};
        ui::parseColour(text, probeA);
        ui::parseColour(text, probeB);
        if (!(probeA == probeB))
            return false;
    }
    ui::parseColour(text, colour);
    return true;
}

CommandResult commandTitleColour(CommandContext& c) {
    return failedIf(!readColour(c.cursor(), c.script.titleColour));
}

CommandResult commandScreenColour(CommandContext& c) {
    lexical::FieldCursor& cursor = c.cursor();
    if (!readColour(cursor, c.script.screenColourTop))
        return CommandResult::Error;
    if (cursor.atEnd()) {
        c.script.screenColourBottom = c.script.screenColourTop;
        return CommandResult::Done;
    }
    return failedIf(!readColour(cursor, c.script.screenColourBottom));
}

CommandResult commandTitle(CommandContext& c) {
    lexical::FieldCursor& cursor = c.cursor();
    if (cursor.atEnd())
        return CommandResult::Error;
    std::string title = cursor.readQuoted();
    if (title.size() > kTitleCapacity)
        return CommandResult::Error;
    c.script.title = std::move(title);
    TitleFont& font = c.globals.settings.titleFont;
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
            return CommandResult::Error; // a stray '=' or an unclosed quote
        if (lexical::startsWithDigit(word))
            font.size = lexical::leadingNumber(word);
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
    std::string face = c.cursor().readQuoted();
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
    if (word.size() < 3 || word.compare(0, 2, "80") != 0 ||
        !lexical::startsWithDigit(word.substr(2)))
        return CommandResult::Error;
    c.script.minCpu = lexical::leadingNumber(std::string_view(word).substr(2));
    return CommandResult::Done;
}

CommandResult commandMinDiskSpace(CommandContext& c) {
    const std::optional<int32_t> size = lexical::parseSize(c.cursor().readWord());
    if (!size)
        return CommandResult::Error;
    const std::string optionWord = c.cursor().readWord();
    if (optionWord.empty()) {
        c.script.minDiskSpace = *size;
        return CommandResult::Done;
    }
    const std::optional<int32_t> groupNumber =
        lexical::parseSmallNumber(optionWord, lexical::OptionTables::kSize);
    if (!groupNumber)
        return CommandResult::Error;
    c.groupMinDiskSpace[*groupNumber] = *size;
    return CommandResult::Done;
}

CommandResult commandProgressBar(CommandContext& c) {
    return store(lexical::parseSize(c.cursor().readWord()), c.script.progressTotal);
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
    if (!readPictureFile(c.cursor(), graphic.fileName))
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
    if (!readPictureFile(c.cursor(), intro.fileName))
        return CommandResult::Error;
    const std::string secondsWord = c.cursor().readWord();
    if (!secondsWord.empty()) {
        // Seconds the picture stays; a day is more than anyone waits for an installer.
        constexpr int32_t kMaxSeconds = 86400;
        const std::optional<int32_t> seconds =
            lexical::parseSmallNumber(secondsWord, kMaxSeconds + 1);
        if (!seconds)
            return CommandResult::Error;
        intro.seconds = *seconds;
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
