#include "files/file_entry.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/message_texts.h"
#include "lexical/numbers.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"
#include "lexical/quoted_field.h"
#include "os/file_system.h"

namespace kestrel::files {

namespace {

using lexical::FieldCursor;

// A field that must fit its buffer: a longer one is cut and marks the line as broken.
void storeBounded(std::string& field, std::string value, size_t capacity, bool& error) {
    if (value.size() > capacity) {
        value.resize(capacity);
        error = true;
    }
    field = std::move(value);
}

// The run of digits after "POPID=" (separators skipped first), as a popup number: none when it
// does not fit 32 bits. No digits read as 0.
std::optional<int32_t> readPopupId(FieldCursor& cursor, ParsedEntry& parsed) {
    cursor.skipSeparators();
    const std::string digits = cursor.readDigits();
    if (digits.empty())
        parsed.warn("POPID without a number: read as 0");
    const auto value =
        digits.empty() ? std::optional<uint64_t>(0) : lexical::parseUnsignedDecimal(digits);
    if (!value || *value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

void classifySource(ParsedEntry& parsed, std::string value) {
    FileEntry& entry = parsed.item;
    if (value.empty() || value == "\\")
        parsed.warn("SOURCE without a folder: the script's own folder");
    if (!value.empty() && value.back() == '\\')
        value.pop_back();
    entry.hasSource = true;
    if (value.size() > 1 && value[1] == ':') {
        entry.sourceKind = SourceKind::Local;
    } else if (!value.empty() && value.front() == '$') {
        entry.sourceKind = SourceKind::Local;
    } else if (!value.empty() && value.front() == '\\') {
        entry.sourceKind = SourceKind::ServerRoot;
    } else if (value.find("//") != std::string::npos) {
        entry.sourceKind = SourceKind::Url;
    } else {
        entry.sourceKind = SourceKind::ScriptDirectory;
        storeBounded(entry.source, "\\" + value, FileEntry::kRelativeSourceCapacity, parsed.error);
        return;
    }
    storeBounded(entry.source, std::move(value), FileEntry::kSourceCapacity, parsed.error);
}

// GROUP=n n ...: runs of digits separated by blanks or commas, up to anything else. Each number
// is looked up in the group-number table; a repeated GROUP replaces the groups of an earlier
// one.
bool readGroups(FieldCursor& cursor, ParsedEntry& parsed, const lexical::OptionTables& options) {
    FileEntry& entry = parsed.item;
    cursor.skipSeparators();
    entry.groups.fill(FileEntry::kNoGroup);
    size_t count = 0;
    while (lexical::startsWithDigit(cursor.rest())) {
        if (count == FileEntry::kGroupSlots)
            return false;
        const auto number = lexical::parseUnsignedDecimal(cursor.readDigits());
        if (!number || *number >= static_cast<uint64_t>(lexical::OptionTables::kSize))
            return false;
        const int32_t option = options.optionOfGroup(static_cast<int32_t>(*number));
        if (option == lexical::OptionTables::kNoOption)
            return false; // no group declared that number
        entry.groups[count++] = static_cast<uint32_t>(option);
        cursor.skipSeparators();
    }
    if (count == 0)
        parsed.warn("GROUP without numbers: the file belongs to no group");
    return true;
}

// ATTRIBUTE="AHRS": the letters in any case and order. The value is quoted: a bare word clears
// every bit and is then read as the next attribute.
bool readAttributes(FieldCursor& cursor, ParsedEntry& parsed) {
    FileEntry& entry = parsed.item;
    entry.attributes = 0;
    if (!lexical::quotedFieldFollows(cursor)) {
        parsed.warn("ATTRIBUTE without a quoted value: no attribute bits");
        return true;
    }
    for (char c : cursor.readQuoted()) {
        switch (lexical::asciiUpper(c)) {
        case 'A':
            entry.attributes |= os::attributes::Archive;
            break;
        case 'H':
            entry.attributes |= os::attributes::Hidden;
            break;
        case 'R':
            entry.attributes |= os::attributes::ReadOnly;
            break;
        case 'S':
            entry.attributes |= os::attributes::System;
            break;
        default:
            return false;
        }
    }
    return true;
}

// One attribute word and its value; false when the line cannot be read on.
bool readFileAttribute(FieldCursor& cursor, ParsedEntry& parsed, const FileEntryContext& context) {
    FileEntry& entry = parsed.item;
    const std::string word = cursor.readWord();
    const auto is = [&word](std::string_view name) {
        return lexical::equalsIgnoringAsciiCase(word, name);
    };
    if (is("COMPRESSED") || is("SELF-EXTRACT")) {
        entry.compression =
            is("COMPRESSED") ? FileCompression::Compressed : FileCompression::SelfExtract;
        context.byteModeOff = true;
        return true;
    }
    if (!is("OVERWRITE") && !is("SOURCE") && !is("POPID") && !is("GROUP") && !is("ATTRIBUTE"))
        return false;
    if (!cursor.takeEquals())
        return false;
    if (is("OVERWRITE")) {
        const auto mode = lexical::overwriteModeFromWord(cursor.readWord());
        if (mode)
            entry.overwrite = *mode;
        return mode.has_value();
    }
    if (is("SOURCE")) {
        classifySource(parsed, lexical::readTextOrWord(cursor));
        return !parsed.error;
    }
    if (is("POPID")) {
        const auto id = readPopupId(cursor, parsed);
        if (id)
            entry.popupId = *id;
        return id.has_value();
    }
    if (is("GROUP"))
        return readGroups(cursor, parsed, context.options);
    return readAttributes(cursor, parsed);
}

void parseFileLine(FieldCursor& cursor, ParsedEntry& parsed, const FileEntryContext& context) {
    std::string name = lexical::readTextOrWord(cursor);
    if (name.empty())
        parsed.warn("FILE without a name");
    storeBounded(parsed.item.name, std::move(name), FileEntry::kNameCapacity, parsed.error);
    while (!parsed.error) {
        cursor.skipSeparators();
        if (cursor.atEnd())
            return;
        if (!readFileAttribute(cursor, parsed, context))
            parsed.error = true;
    }
}

// INSERTDISK is never refused: what cannot be read is passed over, with a warning.
void parseInsertDiskLine(FieldCursor& cursor, ParsedEntry& parsed) {
    FileEntry& entry = parsed.item;
    entry.kind = EntryKind::Disk;
    entry.name = lexical::texts::kNextDisk;
    bool cut = false;
    const std::string description = cursor.readQuoted();
    if (!description.empty())
        storeBounded(entry.name, description, FileEntry::kNameCapacity, cut);
    if (cursor.atEnd())
        return;
    storeBounded(entry.volumeLabel, cursor.readQuoted(), FileEntry::kVolumeLabelCapacity, cut);
    if (!entry.volumeLabel.empty())
        entry.kind = EntryKind::DiskWithLabel;
    if (cut)
        parsed.warn("disk description or volume label longer than its place: cut");
    if (cursor.atEnd())
        return;
    if (lexical::equalsIgnoringAsciiCase(cursor.readWord(), "POPID") && cursor.takeEquals()) {
        const auto id = readPopupId(cursor, parsed);
        if (id)
            entry.popupId = *id;
        cursor.skipSeparators();
        if (id && cursor.atEnd())
            return;
    }
    parsed.warn("words after the disk's description and volume label are passed over");
    cursor.skipToEnd();
}

} // namespace

bool FileEntry::isSelected(const lexical::OptionTables& options) const {
    if (groups[0] == kNoGroup)
        return true;
    for (uint32_t option : groups) {
        if (option != kNoGroup && options.selected(static_cast<int32_t>(option)))
            return true;
    }
    return false;
}

ParsedEntry parseFileEntry(FieldCursor& cursor, EntryCommand command,
                           const FileEntryContext& context) {
    ParsedEntry parsed;
    parsed.item.overwrite = context.overwriteDefault;
    if (command == EntryCommand::File)
        parseFileLine(cursor, parsed, context);
    else
        parseInsertDiskLine(cursor, parsed);
    return parsed;
}

} // namespace kestrel::files
