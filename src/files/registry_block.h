// Registry blocks: a script's changes to the registry, one key per block.
//
//   BEGINREGISTRY
//   KEY NEW "HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\Product"
//   VALUE STRING NEW "InstallDir" "$DEFAULTDIR$"
//   VALUE DWORD INCREMENT "UseCount" "1"
//   VALUE BINARY NEW "Flags" "0000000111111111"
//   VALUE STRING RENAME "OldName" "NewName"
//   VALUE STRING DELETE "Obsolete"
//   ENDREGISTRY
//
// A block has one KEY line (the key operation and the key's full path, root first) and up to
// 50 VALUE lines (type, operation, value name, then the data or the new name). The name
// DEFAULT stands for the key's default value. REM lines and lines that begin with no word are
// passed over. This file reads blocks; they are written after the files are installed.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/line_source.h"
#include "lexical/parse_result.h"
#include "os/registry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::files {

using RegistryRoot = os::RegistryRootKey;

enum class RegistryKeyOperation : uint32_t {
    None = 0, // no KEY line read yet
    New = 1,
    Delete = 2,
    Rename = 3, // kept, but changes nothing
    Query = 4,  // values are written only when the key exists already
};

// The registry's own type numbers.
enum class RegistryValueType : uint32_t {
    String = 1,       // REG_SZ
    ExpandString = 2, // REG_EXPAND_SZ
    Binary = 3,       // REG_BINARY
    Dword = 4,        // REG_DWORD
    DwordBigEndian = 5,
    Link = 6,
    MultiString = 7,
    ResourceList = 8,
    FullResourceDescriptor = 9,
};

enum class RegistryValueOperation : uint16_t {
    New = 5, // only when the value does not exist yet
    Delete = 6,
    Rename = 7,
    Replace = 8,
    Max = 9,
    Min = 10,
    Increment = 11,
};

struct RegistryValue {
    static constexpr size_t kTextCapacity = 1023;

    RegistryValueType type = RegistryValueType::String;
    RegistryValueOperation operation = RegistryValueOperation::New;
    std::optional<std::string> name;    // none: the key's default value
    std::string data;                   // as written; empty for DELETE and RENAME
    std::string binaryData;             // Binary type: the bytes the digits stand for
    std::optional<std::string> newName; // RENAME: the name it gets; none: the default value
};

// Where a key that writing the block created lies: for the uninstall's REGKEY lines.
struct CreatedKey {
    std::string rootName;
    std::string path;
};

struct RegistryBlock {
    static constexpr size_t kMaxValues = 50;
    static constexpr size_t kMaxCreatedKeys = 50;

    RegistryRoot root = RegistryRoot::LocalMachine;
    RegistryKeyOperation keyOperation = RegistryKeyOperation::None;
    std::string rootName;   // as written, e.g. HKEY_LOCAL_MACHINE
    std::string subkeyPath; // after the root, without the leading backslash
    std::string newKeyName; // RENAME only
    std::vector<RegistryValue> values;
    std::vector<CreatedKey> createdKeys; // filled while the block is written
};

struct RegistryBlockParse : lexical::ParseStatus {
    // None after a failure, and when the block had no KEY line: nothing to write or append.
    std::optional<RegistryBlock> block;
    // Lines read after BEGINREGISTRY, ENDREGISTRY and the failing line included.
    int linesTaken = 0;
    // The number the line source gave the last line it delivered (a deferred block's own line
    // numbers; 1 in the main pass), 0 when none was delivered.
    int lastLineNumber = 0;
};

// Reads the lines after a BEGINREGISTRY line up to ENDREGISTRY. Each line goes into the
// cursor, so that after a failure the cursor holds the line at fault. Fails on a second KEY
// line, a VALUE line before the KEY line, an unknown word, a key path without a known root or
// a key below it, a field that must be quoted and is not, binary data that is not binary
// digits, DWORD data that is not a 32-bit number, the 51st value, any other keyword, and the
// end of the lines before ENDREGISTRY.
RegistryBlockParse parseRegistryBlock(lexical::FieldCursor& cursor, lexical::LineSource& lines);

// The root a name stands for (compared without regard to case), if any.
std::optional<RegistryRoot> registryRootNamed(std::string_view name);

} // namespace kestrel::files
