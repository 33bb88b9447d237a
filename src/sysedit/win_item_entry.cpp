#include "sysedit/win_item_entry.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/quoted_field.h"

#include <optional>
#include <string_view>

namespace kestrel::sysedit {

namespace {

// The last comma that stands outside double quotes, or npos. A comma inside a quoted field
// belongs to that field and never introduces a mode word.
size_t lastUnquotedComma(std::string_view text) {
    size_t comma = std::string_view::npos;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ',' && !quoted)
            comma = i;
    }
    return comma;
}

// Takes a trailing ", replace" or ", remove" off the fields. Only the first letters count, so
// ", replacement" is a replace as well.
WinItemMode takeModeWord(std::string_view& fields) {
    const size_t comma = lastUnquotedComma(fields);
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
    if (mode != WinItemMode::Add)
        fields = fields.substr(0, comma);
    return mode;
}

// Reads the next quoted field into target; false when it is not quoted, not closed, or longer
// than capacity.
bool readField(lexical::FieldCursor& cursor, std::string& target, size_t capacity) {
    std::optional<std::string> field = lexical::readRequiredQuoted(cursor);
    if (!field || field->size() > capacity)
        return false;
    target = std::move(*field);
    return true;
}

// Reads the fields in their order; false on the first field that cannot be read. Only the
// group is required: reading stops early, with success, wherever the line ends after it.
bool readFields(lexical::FieldCursor& cursor, WinItemEntry& entry) {
    if (!readField(cursor, entry.group, WinItemEntry::kGroupCapacity) || entry.group.empty())
        return false;
    if (cursor.atEnd())
        return true;
    if (!readField(cursor, entry.commandLine, WinItemEntry::kCommandLineCapacity))
        return false;
    if (cursor.atEnd())
        return true;
    if (!readField(cursor, entry.itemName, WinItemEntry::kItemNameCapacity))
        return false;
    if (cursor.atEnd())
        return true;

    std::string fourth;
    if (!readField(cursor, fourth, WinItemEntry::kDirectoryCapacity))
        return false;
    if (!fourth.empty() && fourth.back() == '\\') {
        entry.defaultDirectory = std::move(fourth);
        if (cursor.atEnd())
            return true;
        if (!readField(cursor, entry.iconPath, WinItemEntry::kIconPathCapacity))
            return false;
    } else {
        entry.iconPath = std::move(fourth);
    }
    if (cursor.atEnd())
        return true;

    // The icon index is a bare token; a quoted one is taken without its quotes.
    if (lexical::quotedFieldFollows(cursor)) {
        if (!readField(cursor, entry.iconIndex, WinItemEntry::kIconIndexCapacity))
            return false;
    } else {
        entry.iconIndex = cursor.readWord();
        if (entry.iconIndex.size() > WinItemEntry::kIconIndexCapacity)
            return false;
    }
    return cursor.atEnd();
}

} // namespace

lexical::Parsed<WinItemEntry> parseWinItemEntry(lexical::FieldCursor& cursor) {
    lexical::Parsed<WinItemEntry> parsed;
    std::string_view fields = cursor.rest();
    parsed.item.mode = takeModeWord(fields);
    // The fields are read from a copy, so that cutting off the mode word leaves the line that
    // an error message shows untouched.
    lexical::FieldCursor fieldCursor(fields, cursor.macros());
    parsed.error = !readFields(fieldCursor, parsed.item);
    return parsed;
}

} // namespace kestrel::sysedit
