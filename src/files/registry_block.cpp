#include "files/registry_block.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/line_source.h"
#include "lexical/numbers.h"
#include "lexical/quoted_field.h"
#include "lexical/warning_texts.h"
#include "lexical/word_table.h"

#include <cstdint>

namespace kestrel::files {

namespace {

using lexical::equalsIgnoringAsciiCase;
using lexical::lookUpWord;
template <typename T> using Named = lexical::NamedWord<T>;

constexpr Named<RegistryRoot> kRoots[] = {
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {"HKEY_DYN_DATA", RegistryRoot::DynData},
};

constexpr Named<RegistryKeyOperation> kKeyOperations[] = {
    {"NEW", RegistryKeyOperation::New},
    {"DELETE", RegistryKeyOperation::Delete},
    {"RENAME", RegistryKeyOperation::Rename},
    {"QUERY", RegistryKeyOperation::Query},
};

// The short words are the script's own; the REG_ words are the registry's type names.
constexpr Named<RegistryValueType> kValueTypes[] = {
    {"STRING", RegistryValueType::String},
    {"DWORD", RegistryValueType::Dword},
    {"BINARY", RegistryValueType::Binary},
    {"REG_SZ", RegistryValueType::String},
    {"REG_EXPAND_SZ", RegistryValueType::ExpandString},
    {"REG_BINARY", RegistryValueType::Binary},
    {"REG_DWORD", RegistryValueType::Dword},
    {"REG_DWORD_BIG_ENDIAN", RegistryValueType::DwordBigEndian},
    {"REG_LINK", RegistryValueType::Link},
    {"REG_MULTI_SZ", RegistryValueType::MultiString},
    {"REG_RESOURCE_LIST", RegistryValueType::ResourceList},
    {"REG_FULL_RESOURCE_DESCRIPTOR", RegistryValueType::FullResourceDescriptor},
};

constexpr Named<RegistryValueOperation> kValueOperations[] = {
    {"NEW", RegistryValueOperation::New},
    {"DELETE", RegistryValueOperation::Delete},
    {"RENAME", RegistryValueOperation::Rename},
    {"REPLACE", RegistryValueOperation::Replace},
    {"MAX", RegistryValueOperation::Max},
    {"MIN", RegistryValueOperation::Min},
    {"INCREMENT", RegistryValueOperation::Increment},
};

// Binary data: every 8 digits from the start make one byte, the first digit the most
// significant; a shorter last group makes a last byte of its own.
std::optional<std::string> bytesFromBinaryDigits(std::string_view digits) {
    std::string bytes;
    for (size_t group = 0; group < digits.size(); group += 8) {
        unsigned byte = 0;
        for (char digit : digits.substr(group, 8)) {
            if (digit != '0' && digit != '1')
                return std::nullopt;
            byte = byte * 2 + static_cast<unsigned>(digit - '0');
        }
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

// A value name field: DEFAULT, in any case, names the key's default value.
std::optional<std::string> valueName(std::string field) {
    if (equalsIgnoringAsciiCase(field, "DEFAULT"))
        return std::nullopt;
    return field;
}

// KEY operation "root\path" ["new name"]
bool parseKeyLine(lexical::FieldCursor& cursor, RegistryBlock& block) {
    const std::optional<RegistryKeyOperation> operation =
        lookUpWord(kKeyOperations, cursor.readWord());
    if (!operation)
        return false;
    block.keyOperation = *operation;

    const std::optional<std::string> path = lexical::readRequiredQuoted(cursor);
    if (!path)
        return false;
    const size_t backslash = path->find('\\');
    if (backslash == std::string::npos)
        return false;
    block.rootName = path->substr(0, backslash);
    block.subkeyPath = path->substr(backslash + 1);
    const std::optional<RegistryRoot> root = registryRootNamed(block.rootName);
    // A block on a root itself would delete or fill the whole root: it needs a key below it.
    if (!root || block.subkeyPath.empty())
        return false;
    block.root = *root;

    if (block.keyOperation == RegistryKeyOperation::Rename) {
        std::optional<std::string> newName = lexical::readRequiredQuoted(cursor);
        if (!newName)
            return false;
        block.newKeyName = std::move(*newName);
    }
    return true;
}

// VALUE type operation "name" ["data" | "new name"]
bool parseValueLine(lexical::FieldCursor& cursor, RegistryBlock& block) {
    RegistryValue value;
    const std::optional<RegistryValueType> type = lookUpWord(kValueTypes, cursor.readWord());
    if (!type)
        return false;
    value.type = *type;
    const std::optional<RegistryValueOperation> operation =
        lookUpWord(kValueOperations, cursor.readWord());
    if (!operation)
        return false;
    value.operation = *operation;

    std::optional<std::string> name = lexical::readRequiredQuoted(cursor);
    if (!name || name->size() > RegistryValue::kTextCapacity)
        return false;
    value.name = valueName(std::move(*name));

    if (value.operation != RegistryValueOperation::Delete) {
        std::optional<std::string> field = lexical::readRequiredQuoted(cursor);
        if (!field || field->size() > RegistryValue::kTextCapacity)
            return false;
        if (value.operation == RegistryValueOperation::Rename) {
            value.newName = valueName(std::move(*field));
        } else {
            value.data = std::move(*field);
            if (value.type == RegistryValueType::Binary) {
                std::optional<std::string> bytes = bytesFromBinaryDigits(value.data);
                if (!bytes)
                    return false;
                value.binaryData = std::move(*bytes);
            } else if (value.type == RegistryValueType::Dword ||
                       value.type == RegistryValueType::DwordBigEndian) {
                // Converted when it is written; checked here so that a mistyped number is a
                // script error rather than a 0 written.
                if (!lexical::parseDwordText(value.data))
                    return false;
            }
        }
    }

    if (block.values.size() >= RegistryBlock::kMaxValues)
        return false;
    block.values.push_back(std::move(value));
    return true;
}

} // namespace

std::optional<RegistryRoot> registryRootNamed(std::string_view name) {
    return lookUpWord(kRoots, name);
}

namespace {

// Reads lines up to ENDREGISTRY into result; false on the first line at fault.
bool readBlockLines(lexical::FieldCursor& cursor, lexical::LineSource& lines,
                    RegistryBlockParse& result) {
    std::string line;
    for (;;) {
        const int read = lines.readScriptLine(line);
        if (read == lexical::kLineEnd || read == lexical::kLineError)
            return false; // no ENDREGISTRY
        ++result.linesTaken;
        if (read == lexical::kLineIgnore)
            continue;
        result.lastLineNumber = read;

        cursor.setText(line);
        const std::string keyword = cursor.readKeyword();
        if (equalsIgnoringAsciiCase(keyword, "ENDREGISTRY"))
            return true;
        if (keyword.empty() || equalsIgnoringAsciiCase(keyword, "REM"))
            continue;
        if (equalsIgnoringAsciiCase(keyword, "KEY")) {
            if (result.block)
                return false; // one key per block
            result.block.emplace();
            if (!parseKeyLine(cursor, *result.block))
                return false;
        } else if (equalsIgnoringAsciiCase(keyword, "VALUE")) {
            if (!result.block || !parseValueLine(cursor, *result.block))
                return false;
        } else {
            return false;
        }
        if (!cursor.atEnd())
            result.warn(std::string(lexical::warnings::kTextIgnored), result.linesTaken, line);
    }
}

} // namespace

RegistryBlockParse parseRegistryBlock(lexical::FieldCursor& cursor, lexical::LineSource& lines) {
    RegistryBlockParse result;
    result.error = !readBlockLines(cursor, lines, result);
    if (result.error)
        result.block.reset();
    return result;
}

} // namespace kestrel::files
