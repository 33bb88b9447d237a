// The packed installation file (container): any file that ends with a 16-byte trailer.
//
//   offset 0        a preamble that readers skip (ours: "KSTPACK\x1a", u32 version, u32
//                   member count); a first record at offset 0 would read as "no container"
//   ...             per member: a 276-byte directory record, then the member's bytes
//   end - 16        trailer: "[KSTRL]\0", u32 offset of the first record, u32 unused value
//
// Directory record (little-endian): u32 next record offset (0 ends the chain), u32 Windows
// attributes, u32 DOS time (low 16 bits), u32 DOS date (low 16 bits), u32 size, char
// name[256] (file name and extension, zero-terminated). A reader meets damaged chains: an
// offset past the end, a loop back to an earlier record, sizes larger than the file.
#pragma once

#include "os/file_system.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::files {

inline constexpr uint32_t kContainerTrailerSize = 16;
inline constexpr uint32_t kContainerRecordSize = 276;
inline constexpr uint32_t kContainerNameSize = 256;
inline constexpr char kContainerSignature[8] = {'[', 'K', 'S', 'T', 'R', 'L', ']', '\0'};
inline constexpr char kContainerPreamble[8] = {'K', 'S', 'T', 'P', 'A', 'C', 'K', '\x1a'};
inline constexpr uint32_t kContainerPreambleSize = 16;
inline constexpr uint32_t kContainerFormatVersion = 1;

struct ContainerTrailer {
    uint64_t fileLength = 0;
    uint32_t firstRecord = 0;
    uint32_t secondValue = 0;
};

struct ContainerRecord {
    uint32_t offset = 0; // where the record stands
    uint32_t next = 0;
    uint32_t attributes = 0;
    os::DosDateTime stamp;
    uint32_t size = 0; // cut to the bytes the file really holds after the record
    std::string name;
    uint32_t dataOffset() const { return offset + kContainerRecordSize; }
};

// The trailer, when the file ends with a valid one (signature intact, first record not 0).
std::optional<ContainerTrailer> readContainerTrailer(os::InputFile& file);

// Walks the directory chain in order until `visit` returns false or the chain ends; a record
// that cannot be read, or a chain that has visited more records than the file can hold, ends
// the walk. Returns false when the walk ended on damage rather than on a 0 offset or `visit`.
bool walkContainerRecords(os::InputFile& file, const ContainerTrailer& trailer,
                          const std::function<bool(const ContainerRecord&)>& visit);

struct ContainerMemberSource {
    std::string name; // file name and extension as stored
    std::string path; // where its bytes come from
};

struct ContainerWriteError {
    std::string path; // the member's source file, or empty for the container itself
    std::string message;
};

// Writes a container holding the given files, their DOS stamps and attributes.
bool writeContainer(os::FileSystem& files, const std::vector<ContainerMemberSource>& members,
                    os::OutputFile& out, ContainerWriteError& error);

} // namespace kestrel::files
