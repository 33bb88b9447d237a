#include "sysedit/win_item_entry.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/quoted_field.h"
#include "lexical/warning_texts.h"

#include <algorithm>
#include <string_view>

namespace kestrel::sysedit {

namespace {

// Whether position lies inside double quotes, counting from the start of text.
bool insideQuotes(std::string_view text, size_t position) {
    return std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(position), '"') %
               2 ==
           1;
}

// Takes a trailing ", replace" or ", remove" off the fields: the word after the line's last comma,
// wherever that comma stands. Only the first letters count, so ", replacement" is a replace too.
// fromQuotes: that comma stood inside a quoted field.
WinItemMode takeModeWord(std::string_view& fields, lexical::ParseStatus& status, bool& fromQuotes) {
    const size_t comma = fields.rfind(',');
    if (comma == std::string_view::npos)
        return WinItemMode::Add;
    std::string_view word = fields.substr(comma + 1);
    while (!word.empty() && (word.front() == ' ' || word.front() == '\t'))
        word.remove_prefix(1);
    WinItemMode mode = WinItemMode::Add;
    if (lexical::startsWithIgnoringAsciiCase(word, "replace"))
        mode = WinItemMode::Replace;
    else if (lexical::startsWithIgnoringAsciiCase(word, "remove"))
        mode = WinItemMode::Remove;
    if (mode == WinItemMode::Add)
        return mode;
    fromQuotes = insideQuotes(fields, comma);
    if (fromQuotes)
        status.warn("the mode word after the last comma is taken from inside quotes: the line "
                    "ends at that comma");
    fields = fields.substr(0, comma);
    return mode;
}

// The fields in their order, each a quoted field but the icon index, a word. Reading stops
// wherever the line ends; whatever is missing stays empty.
void readFields(lexical::FieldCursor& cursor, WinItemEntry& entry, lexical::ParseStatus& status) {
    bool unquotedNoted = false;
    const auto quoted = [&](std::string& target) {
        target = lexical::readQuotedInRun(cursor, status, unquotedNoted);
        return !cursor.atEnd();
    };
    if (!quoted(entry.group) || !quoted(entry.commandLine) || !quoted(entry.itemName))
        return;
    std::string fourth;
    const bool more = quoted(fourth);
    if (!fourth.empty() && fourth.back() == '\\') {
        entry.defaultDirectory = std::move(fourth);
        if (!more || !quoted(entry.iconPath))
            return;
    } else {
        entry.iconPath = std::move(fourth);
        if (!more)
            return;
    }
    entry.iconIndex = cursor.readWord();
    if (!cursor.atEnd())
        status.warn(std::string(lexical::warnings::kTextIgnored));
}

bool fitsItsPlaces(const WinItemEntry& entry) {
    return entry.group.size() <= WinItemEntry::kGroupCapacity &&
           entry.commandLine.size() <= WinItemEntry::kCommandLineCapacity &&
           entry.itemName.size() <= WinItemEntry::kItemNameCapacity &&
           entry.defaultDirectory.size() <= WinItemEntry::kDirectoryCapacity &&
           entry.iconPath.size() <= WinItemEntry::kIconPathCapacity &&
           entry.iconIndex.size() <= WinItemEntry::kIconIndexCapacity;
}

} // namespace

lexical::Parsed<WinItemEntry> parseWinItemEntry(lexical::FieldCursor& cursor) {
    lexical::Parsed<WinItemEntry> parsed;
    std::string_view fields = cursor.rest();
    bool modeFromQuotes = false;
    parsed.item.mode = takeModeWord(fields, parsed, modeFromQuotes);
    // The fields are read from a copy, so that cutting off the mode word leaves the line that
    // a message shows untouched; the line itself is read to its end.
    lexical::FieldCursor fieldCursor(fields, cursor.macros());
    cursor.skipToEnd();
    readFields(fieldCursor, parsed.item, parsed);
    if (fieldCursor.metUnterminatedQuote())
        parsed.warn(std::string(lexical::warnings::kUnterminatedQuote));
    if (parsed.item.group.empty())
        parsed.warn("WINITEM without a group name");
    // A field beyond its place cannot be kept; and a comma inside a quoted field must not turn a
    // line that adds an item into one that deletes its whole group.
    parsed.error =
        !fitsItsPlaces(parsed.item) || (modeFromQuotes && parsed.item.mode == WinItemMode::Remove &&
                                        parsed.item.commandLine.empty());
    return parsed;
}

} // namespace kestrel::sysedit
