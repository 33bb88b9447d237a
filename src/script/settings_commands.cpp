// Commands that set one value of the settings record or of the global settings.
#include "script/ansi_text.h"
#include "script/command_support.h"
#include "ui/colour.h"

#include <algorithm>

namespace kestrel::script {

namespace {

constexpr int kMaxTitleOptions = 5;

struct NamedValue {
    std::string_view name;
    int32_t value;
};

// The value of the word in table (compared ignoring case); none for any other word.
template <size_t N>
std::optional<int32_t> lookUp(const NamedValue (&table)[N], std::string_view word) {
    for (const NamedValue& entry : table) {
        if (equalsIgnoreCase(word, entry.name))
            return entry.value;
    }
    return std::nullopt;
}

bool startsWithDigit(std::string_view word) {
    return !word.empty() && word.front() >= '0' && word.front() <= '9';
}

// A quoted command line, neither missing nor empty.
std::optional<std::string> readCommandLine(FieldCursor& cursor) {
    if (!quoteFollows(cursor))
        return std::nullopt;
    std::string text = cursor.readQuoted();
    if (text.empty())
        return std::nullopt;
    return text;
}

// A colour is a parenthesised field when one follows, otherwise a word.
std::string readColourText(FieldCursor& cursor) {
    cursor.skipSeparators();
    if (!cursor.atEnd() && cursor.rest().front() == '(')
        return cursor.readParenthesized();
    return cursor.readWord();
}

// Three numbers 0..255 separated by commas, or a colour name. The colour parser leaves the colour
// as it was for any other text; a script that says "Purple" means something else.
bool readColour(FieldCursor& cursor, ui::Colour& colour) {
    const std::string text = readColourText(cursor);
    if (text.find(',') != std::string::npos) {
        size_t fields = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(',', start);
            if (end == std::string::npos)
                end = text.size();
            std::string_view field = std::string_view(text).substr(start, end - start);
            while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
                field.remove_prefix(1);
            while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
                field.remove_suffix(1);
            if (!parseSmallNumber(field, 256))
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

} // namespace

CommandResult commandTitleColour(CommandContext& c) {
    return failedIf(!readColour(c.cursor(), c.script.titleColour));
}

CommandResult commandScreenColour(CommandContext& c) {
    FieldCursor& cursor = c.cursor();
    if (!readColour(cursor, c.script.screenColourTop))
        return CommandResult::Error;
    if (cursor.atEnd()) {
        c.script.screenColourBottom = c.script.screenColourTop;
        return CommandResult::Done;
    }
    return failedIf(!readColour(cursor, c.script.screenColourBottom));
}

CommandResult commandTitle(CommandContext& c) {
    FieldCursor& cursor = c.cursor();
    if (cursor.atEnd())
        return CommandResult::Error;
    std::string title = cursor.readQuoted();
    if (title.size() > kTitleCapacity)
        return CommandResult::Error;
    c.script.title = std::move(title);
    TitleFont& font = c.globals.settings.titleFont;
    for (int option = 0; option < kMaxTitleOptions && !cursor.atEnd(); ++option) {
        if (quoteFollows(cursor)) {
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
        if (startsWithDigit(word))
            font.size = leadingNumber(word);
        else if (equalsIgnoreCase(word, "Bold"))
            font.bold = true;
        else if (equalsIgnoreCase(word, "Italic"))
            font.italic = true;
        else if (equalsIgnoreCase(word, "Underline"))
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
    std::string file = readTextOrWord(c.cursor());
    if (file.size() > kReadmeCapacity)
        return CommandResult::Error;
    c.script.readmeFile = std::move(file);
    return CommandResult::Done;
}

CommandResult commandMinCpuType(CommandContext& c) {
    const std::string word = c.cursor().readWord();
    // "80" and the processor number: 80386, 80486...
    if (word.size() < 3 || word.compare(0, 2, "80") != 0 || !startsWithDigit(word.substr(2)))
        return CommandResult::Error;
    c.script.minCpu = leadingNumber(std::string_view(word).substr(2));
    return CommandResult::Done;
}

CommandResult commandMinDiskSpace(CommandContext& c) {
    const std::optional<int32_t> size = parseSize(c.cursor().readWord());
    if (!size)
        return CommandResult::Error;
    const std::string optionWord = c.cursor().readWord();
    if (optionWord.empty()) {
        c.script.minDiskSpace = *size;
        return CommandResult::Done;
    }
    const std::optional<int32_t> groupNumber = parseSmallNumber(optionWord, OptionTables::kSize);
    if (!groupNumber)
        return CommandResult::Error;
    c.groupMinDiskSpace[*groupNumber] = *size;
    return CommandResult::Done;
}

CommandResult commandProgressBar(CommandContext& c) {
    const std::optional<int32_t> size = parseSize(c.cursor().readWord());
    if (!size)
        return CommandResult::Error;
    c.script.progressTotal = *size;
    return CommandResult::Done;
}

CommandResult commandOverwriteFile(CommandContext& c) {
    static constexpr NamedValue kModes[] = {{"YES", 1}, {"NO", 0}, {"NEW", 3}, {"ASK", 2}};
    const std::optional<int32_t> mode = lookUp(kModes, c.cursor().readWord());
    if (!mode)
        return CommandResult::Error;
    c.globals.settings.overwriteMode = static_cast<OverwriteMode>(*mode);
    return CommandResult::Done;
}

CommandResult commandCompression(CommandContext& c) {
    static constexpr NamedValue kKinds[] = {{"PKWARE", 0}, {"LHA", 1}};
    const std::optional<int32_t> kind = lookUp(kKinds, c.cursor().readWord());
    if (!kind)
        return CommandResult::Error;
    c.globals.settings.compression = static_cast<Compression>(*kind);
    return CommandResult::Done;
}

CommandResult commandUninstall(CommandContext& c) {
    static constexpr NamedValue kSwitch[] = {{"YES", 1}, {"NO", 0}};
    const std::optional<int32_t> on = lookUp(kSwitch, c.cursor().readWord());
    if (!on)
        return CommandResult::Error;
    c.globals.settings.uninstall = *on == 1;
    return CommandResult::Done;
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
    static constexpr NamedValue kModes[] = {{"Windows", 1}, {"Window", 1}, {"System", 2}};
    const std::optional<int32_t> mode = lookUp(kModes, c.cursor().readWord());
    if (!mode)
        return CommandResult::Error;
    c.globals.settings.rebootMode = static_cast<RebootMode>(*mode);
    return CommandResult::Done;
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
    c.script.runAtExit.push_back(std::make_unique<MacroString>(std::string_view(*command)));
    return CommandResult::Done;
}

CommandResult commandRegServer(CommandContext& c) {
    std::string file = readTextOrWord(c.cursor());
    if (file.empty())
        return CommandResult::Error;
    c.globals.settings.regServers.push_back(std::move(file));
    return CommandResult::Done;
}

CommandResult commandScreenGraphic(CommandContext& c) {
    static constexpr NamedValue kPositions[] = {
        {"TOPLEFT", 1},     {"TOPMIDDLE", 2},    {"TOPRIGHT", 3},   {"MIDDLERIGHT", 4},
        {"BOTTOMRIGHT", 5}, {"BOTTOMMIDDLE", 6}, {"BOTTOMLEFT", 7}, {"MIDDLELEFT", 8},
        {"TILE", 9},        {"FULLSCREEN", 10},
    };
    ScreenGraphic graphic;
    graphic.fileName = readTextOrWord(c.cursor());
    if (graphic.fileName.empty() || graphic.fileName.size() > kPathCapacity)
        return CommandResult::Error;
    const std::string positionWord = c.cursor().readWord();
    if (!positionWord.empty()) {
        const std::optional<int32_t> position = lookUp(kPositions, positionWord);
        if (!position)
            return CommandResult::Error;
        graphic.position = static_cast<PicturePosition>(*position);
    }
    c.script.screenGraphic = std::move(graphic);
    return CommandResult::Done;
}

CommandResult commandIntroScreen(CommandContext& c) {
    IntroScreen intro;
    intro.fileName = readTextOrWord(c.cursor());
    if (intro.fileName.empty() || intro.fileName.size() > kPathCapacity)
        return CommandResult::Error;
    const std::string secondsWord = c.cursor().readWord();
    if (!secondsWord.empty()) {
        // Seconds the picture stays; a day is more than anyone waits for an installer.
        constexpr int32_t kMaxSeconds = 86400;
        const std::optional<int32_t> seconds = parseSmallNumber(secondsWord, kMaxSeconds + 1);
        if (!seconds)
            return CommandResult::Error;
        intro.seconds = *seconds;
    }
    c.script.introScreen = std::move(intro);
    return CommandResult::Done;
}

} // namespace kestrel::script
