// One item of the installation list: a file to install (FILE) or a change of installation
// disk (INSERTDISK). The interpreter parses each such line into an entry; the installation
// sequence later walks the list in order, asking for disks and copying the selected files.
//
//   FILE name [COMPRESSED] [SELF-EXTRACT] [OVERWRITE=YES|NO|NEW|ASK] [SOURCE=where]
//        [POPID=n] [GROUP=n n ...] [ATTRIBUTE="AHRS"]
//   INSERTDISK ["description" ["label" [POPID=n]]]
//
// Attributes come in any order and may repeat; a later one overrides an earlier one.
#pragma once

#include "lexical/field_cursor.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"
#include "lexical/parse_result.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::files {

enum class EntryKind : uint32_t {
    File = 0,
    Disk = 1,          // a disk change without a volume label
    DiskWithLabel = 2, // a disk change whose disk is known by its volume label
};

enum class FileCompression : uint32_t {
    None = 0,        // copied, or unpacked when it is one of our packed archives
    Compressed = 1,  // unpacked by an external archiver
    SelfExtract = 2, // a self-extracting program that is run
};

// Where a file is fetched from.
enum class SourceKind : uint32_t {
    ScriptDirectory = 0, // relative to the script's web directory ("\disk1")
    ServerRoot = 1,      // begins with a backslash: from the server's root
    Local = 2,           // a drive path ("C:\DATA") or a path macro ("$SOURCEDIR$...")
    Url = 3,             // a full URL (holds "//")
};

struct FileEntry {
    static constexpr size_t kNameCapacity = 498;
    static constexpr size_t kVolumeLabelCapacity = 12;
    static constexpr size_t kSourceCapacity = 498;
    // A source relative to the script's directory, its leading backslash included.
    static constexpr size_t kRelativeSourceCapacity = 79;
    static constexpr size_t kGroupSlots = 12;
    static constexpr uint32_t kNoGroup = 65535;
    static constexpr uint32_t kNormalAttributes = 128;

    // FILE: the file name as written; the copy pipeline expands its macros later.
    // INSERTDISK: the description of the disk shown in the prompt.
    std::string name;
    std::string volumeLabel;
    EntryKind kind = EntryKind::File;
    FileCompression compression = FileCompression::None;
    lexical::OverwriteMode overwrite = lexical::OverwriteMode::Ask;
    // Option indices of the groups the file belongs to; unused slots hold kNoGroup.
    std::array<uint32_t, kGroupSlots> groups = filledGroups();
    int32_t popupId = -1; // popup screen shown before the entry; below 1 shows none
    std::string source;
    bool hasSource = false;
    SourceKind sourceKind = SourceKind::ScriptDirectory;
    uint32_t attributes = kNormalAttributes;

    // True when the entry belongs to no group, or to a group whose option is selected.
    bool isSelected(const lexical::OptionTables& options) const;

    static std::array<uint32_t, kGroupSlots> filledGroups() {
        std::array<uint32_t, kGroupSlots> slots{};
        slots.fill(kNoGroup);
        return slots;
    }
};

enum class EntryCommand { File, InsertDisk };

// Installation values the parser reads and writes.
struct FileEntryContext {
    // The OVERWRITEFILE setting at the moment the line is read.
    lexical::OverwriteMode overwriteDefault = lexical::OverwriteMode::Ask;
    // GROUP numbers are looked up in its group-number table.
    const lexical::OptionTables& options;
    // Set by the first COMPRESSED or SELF-EXTRACT file; never cleared.
    bool& byteModeOff;
};

using ParsedEntry = lexical::Parsed<FileEntry>;

// Parses the rest of a FILE or INSERTDISK line (cursor behind the command word). A FILE line
// that cannot be read is an error (the entry is kept as far as it was read); an INSERTDISK line
// is never one: what it cannot read it passes over, with a warning.
ParsedEntry parseFileEntry(lexical::FieldCursor& cursor, EntryCommand command,
                           const FileEntryContext& context);

} // namespace kestrel::files
