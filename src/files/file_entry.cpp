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
using lexical::QuotedField;

// A field that must fit its buffer: a longer one is cut and marks the line as broken.
void storeBounded(std::string& field, std::string value, size_t capacity, bool& error) {
    if (value.size() > capacity) {
        value.resize(capacity);
        error = true;
    }
    field = std::move(value);
}

// The digits after "POPID=", as a popup number. Nothing unless a whole decimal number that
// fits 32 bits stands there.
std::optional<int32_t> readPopupId(FieldCursor& cursor) {
    cursor.skipSeparators();
    if (!lexical::startsWithDigit(cursor.rest()))
        return std::nullopt;
    const auto value = lexical::parseUnsignedDecimal(cursor.readWord());
    if (!value || *value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

void classifySource(ParsedEntry& parsed, std::string value) {
    FileEntry& entry = parsed.item;
    // One trailing backslash goes, unless it is all there is (the server's root).
    if (value.size() > 1 && value.back() == '\\')
        value.pop_back();
    entry.hasSource = true;
    if (value.size() > 1 && value[1] == ':') {
        entry.sourceKind = SourceKind::Local;
    } else if (value.front() == '$') {
        entry.sourceKind = SourceKind::Local;
    } else if (value.front() == '\\') {
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

// GROUP=n n ...: each number is looked up in the group-number table; a repeated GROUP
// replaces the groups of an earlier one.
bool readGroups(FieldCursor& cursor, FileEntry& entry, const lexical::OptionTables& options) {
    cursor.skipSeparators();
    entry.groups.fill(FileEntry::kNoGroup);
    size_t count = 0;
    while (lexical::startsWithDigit(cursor.rest())) {
        if (count == FileEntry::kGroupSlots)
            return false;
        const auto number = lexical::parseUnsignedDecimal(cursor.readWord());
        if (!number || *number >= static_cast<uint64_t>(lexical::OptionTables::kSize))
            return false;
        const int32_t option = options.optionOfGroup(static_cast<int32_t>(*number));
        if (option == lexical::OptionTables::kNoOption)
            return false; // no group declared that number
        entry.groups[count++] = static_cast<uint32_t>(option);
    }
    return count > 0;
}

// ATTRIBUTE="AHRS": the letters in any case and order; an empty value clears every bit.
bool readAttributes(FieldCursor& cursor, FileEntry& entry) {
    const QuotedField quoted = lexical::readQuotedField(cursor);
    if (!quoted.complete())
        return false;
    uint32_t bits = 0;
    for (char c : quoted.text) {
        switch (lexical::asciiUpper(c)) {
        case 'A':
            bits |= os::attributes::Archive;
            break;
        case 'H':
            bits |= os::attributes::Hidden;
            break;
        case 'R':
            bits |= os::attributes::ReadOnly;
            break;
        case 'S':
            bits |= os::attributes::System;
            break;
        default:
            return false;
        }
    }
    entry.attributes = bits;
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
        auto value = lexical::readQuotedOrWord(cursor);
        if (!value || value->empty())
            return false;
        classifySource(parsed, std::move(*value));
        return !parsed.error;
    }
    if (is("POPID")) {
        const auto id = readPopupId(cursor);
        if (id)
            entry.popupId = *id;
        return id.has_value();
    }
    if (is("GROUP"))
        return readGroups(cursor, entry, context.options);
    return readAttributes(cursor, entry);
}

void parseFileLine(FieldCursor& cursor, ParsedEntry& parsed, const FileEntryContext& context) {
    FileEntry& entry = parsed.item;
    auto name = lexical::readQuotedOrWord(cursor);
    if (!name || name->empty()) {
        parsed.error = true;
        return;
    }
    storeBounded(entry.name, std::move(*name), FileEntry::kNameCapacity, parsed.error);
    while (!parsed.error) {
        cursor.skipSeparators();
        if (cursor.atEnd())
            return;
        if (!readFileAttribute(cursor, parsed, context))
            parsed.error = true;
    }
}

void parseInsertDiskLine(FieldCursor& cursor, ParsedEntry& parsed) {
    FileEntry& entry = parsed.item;
    entry.kind = EntryKind::Disk;
    entry.name = lexical::texts::kNextDisk;
    const QuotedField description = lexical::readQuotedField(cursor);
    if (description.state == QuotedField::State::Unterminated) {
        parsed.error = true;
        return;
    }
    if (!description.text.empty())
        storeBounded(entry.name, description.text, FileEntry::kNameCapacity, parsed.error);
    if (cursor.atEnd())
        return;

    const QuotedField label = lexical::readQuotedField(cursor);
    if (label.state == QuotedField::State::Unterminated) {
        parsed.error = true;
        return;
    }
    storeBounded(entry.volumeLabel, label.text, FileEntry::kVolumeLabelCapacity, parsed.error);
    if (!entry.volumeLabel.empty())
        entry.kind = EntryKind::DiskWithLabel;
    if (cursor.atEnd())
        return;

    if (!lexical::equalsIgnoringAsciiCase(cursor.readWord(), "POPID") || !cursor.takeEquals()) {
        parsed.error = true;
        return;
    }
    const auto id = readPopupId(cursor);
    if (!id) {
        parsed.error = true;
        return;
    }
    entry.popupId = *id;
    cursor.skipSeparators();
    if (!cursor.atEnd())
        parsed.error = true;
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
