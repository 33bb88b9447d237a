#include "files/registry_writer.h"

#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"
#include "lexical/numbers.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrel::files {

namespace {

using os::RegistryData;
using Type = RegistryValueType;
using Operation = RegistryValueOperation;

// Every "$" that begins a path macro gives way to the macro's value; any other "$" stays.
// What a value brings in is not searched again.
std::string expandMacros(std::string_view text, const lexical::MacroVariables& macros) {
    std::string result;
    size_t at = 0;
    while (at < text.size()) {
        const size_t dollar = text.find('$', at);
        result.append(text.substr(at, dollar == std::string_view::npos ? dollar : dollar - at));
        if (dollar == std::string_view::npos)
            break;
        at = dollar + 1;
        result += '$';
        for (int m = 0; m <= static_cast<int>(lexical::Macro::Ask5); ++m) {
            const auto macro = static_cast<lexical::Macro>(m);
            const std::string_view name = lexical::macroName(macro);
            if (lexical::startsWithIgnoringAsciiCase(text.substr(dollar), name)) {
                result.pop_back();
                result += macros.value(macro);
                at = dollar + name.size();
                break;
            }
        }
    }
    return result;
}

std::string nameOf(const std::optional<std::string>& name, const lexical::MacroVariables& macros) {
    return name ? expandMacros(*name, macros) : std::string();
}

bool isNumericType(uint32_t type) {
    return type == uint32_t(Type::Dword) || type == uint32_t(Type::DwordBigEndian) ||
           type == uint32_t(Type::Binary);
}

RegistryData numberData(uint32_t type, uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        const int shift = type == uint32_t(Type::DwordBigEndian) ? 24 - 8 * i : 8 * i;
        bytes[size_t(i)] = static_cast<char>((number >> shift) & 0xff);
    }
    return {type, std::move(bytes)};
}

// The number an existing value holds; nothing when it is no number.
std::optional<uint32_t> numberIn(const RegistryData& data) {
    if (!isNumericType(data.type) || data.bytes.size() > 4 ||
        (data.type != uint32_t(Type::Binary) && data.bytes.size() != 4))
        return std::nullopt;
    uint32_t number = 0;
    for (size_t i = 0; i < data.bytes.size(); ++i) {
        const uint32_t byte = static_cast<unsigned char>(data.bytes[i]);
        number |=
            data.type == uint32_t(Type::DwordBigEndian) ? byte << (24 - 8 * i) : byte << (8 * i);
    }
    return number;
}

// The script's number: binary digits for a REG_BINARY value, else as a DWORD is written.
std::optional<uint32_t> scriptNumber(std::string_view text, uint32_t type) {
    if (type != uint32_t(Type::Binary))
        return lexical::parseDwordText(text);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.find_first_not_of("01") != std::string_view::npos)
        return std::nullopt;
    uint64_t number = 0;
    for (char digit : text) {
        number = number * 2 + uint64_t(digit - '0');
        if (number > UINT32_MAX)
            return std::nullopt;
    }
    return static_cast<uint32_t>(number);
}

// The bytes a NEW or REPLACE writes; nothing for the types a script cannot fill.
std::optional<RegistryData> scriptData(const RegistryValue& value,
                                       const lexical::MacroVariables& macros) {
    const uint32_t type = uint32_t(value.type);
    switch (value.type) {
    case Type::String:
    case Type::ExpandString:
        return RegistryData{type, expandMacros(value.data, macros) + '\0'};
    case Type::MultiString: // one string, then the empty string that ends the list
        return RegistryData{type, expandMacros(value.data, macros) + std::string(2, '\0')};
    case Type::Binary:
        return RegistryData{type, value.binaryData};
    case Type::Dword:
    case Type::DwordBigEndian:
        if (const std::optional<uint32_t> number = lexical::parseDwordText(value.data))
            return numberData(type, *number);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// MAX, MIN and INCREMENT.
void combineNumber(const RegistryValue& value, const std::string& name, os::RegistryKey& key) {
    const std::optional<RegistryData> existing = key.queryValue(name);
    const uint32_t type = existing ? existing->type : uint32_t(value.type);
    if (!isNumericType(type))
        return; // a string, or a missing value of a type that holds no number
    std::optional<uint32_t> current;
    if (existing && !(current = numberIn(*existing)))
        return; // a binary value longer than a number
    const std::optional<uint32_t> number = scriptNumber(value.data, type);
    if (!number)
        return;
    uint32_t result = *number;
    if (current) {
        if (value.operation == Operation::Max)
            result = std::max(*current, *number);
        else if (value.operation == Operation::Min)
            result = std::min(*current, *number);
        else
            result = *current + *number; // modulo 2^32
    }
    key.setValue(name, numberData(type, result));
}

void writeValue(const RegistryValue& value, const lexical::MacroVariables& macros,
                os::RegistryKey& key) {
    const std::string name = nameOf(value.name, macros);
    switch (value.operation) {
    case Operation::New:
        if (key.queryValue(name))
            return;
        [[fallthrough]];
    case Operation::Replace:
        if (const std::optional<RegistryData> data = scriptData(value, macros))
            key.setValue(name, *data);
        return;
    case Operation::Delete:
        key.deleteValue(name);
        return;
    case Operation::Rename: {
        const std::string newName = nameOf(value.newName, macros);
        if (lexical::equalsIgnoringAsciiCase(name, newName))
            return;
        const std::optional<RegistryData> data = key.queryValue(name);
        if (data && key.setValue(newName, *data))
            key.deleteValue(name);
        return;
    }
    case Operation::Max:
    case Operation::Min:
    case Operation::Increment:
        combineNumber(value, name, key);
        return;
    }
}

// Opens the block's key, creating every missing level; nothing when a level fails.
std::unique_ptr<os::RegistryKey> createLevels(RegistryBlock& block, os::Registry& registry) {
    std::unique_ptr<os::RegistryKey> key;
    std::string path;
    size_t at = 0;
    while (at <= block.subkeyPath.size()) {
        size_t end = block.subkeyPath.find('\\', at);
        if (end == std::string::npos)
            end = block.subkeyPath.size();
        if (end > at) {
            if (!path.empty())
                path += '\\';
            path.append(block.subkeyPath, at, end - at);
            std::optional<os::OpenedKey> opened = registry.createKey(block.root, path);
            if (!opened)
                return nullptr;
            if (opened->created)
                block.createdKeys.push_back({block.rootName, path});
            key = std::move(opened->key);
        }
        at = end + 1;
    }
    return key;
}

} // namespace

void writeRegistryBlock(RegistryBlock& block, os::Registry& registry,
                        const lexical::MacroVariables& macros) {
    std::unique_ptr<os::RegistryKey> key;
    switch (block.keyOperation) {
    case RegistryKeyOperation::New:
        key = createLevels(block, registry);
        break;
    case RegistryKeyOperation::Query:
        key = registry.openKey(block.root, block.subkeyPath);
        break;
    case RegistryKeyOperation::Delete:
        registry.deleteKey(block.root, block.subkeyPath);
        return;
    case RegistryKeyOperation::Rename:
    case RegistryKeyOperation::None:
        return;
    }
    if (!key)
        return;
    for (const RegistryValue& value : block.values)
        writeValue(value, macros, *key);
}

void runRegistryPhase(std::vector<RegistryBlock>& blocks, os::Registry& registry,
                      const lexical::MacroVariables& macros, lexical::InstallLogSink& log) {
    for (RegistryBlock& block : blocks) {
        writeRegistryBlock(block, registry, macros);
        for (auto created = block.createdKeys.rbegin(); created != block.createdKeys.rend();
             ++created)
            log.writeLogLine(lexical::logline::regKey(created->rootName, created->path));
    }
    blocks.clear();
}

} // namespace kestrel::files
