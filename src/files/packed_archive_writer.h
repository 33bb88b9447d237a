// Builds a packed archive (layout in packed_archive_format.h): files are imploded one after
// another into volumes of at most a given size, each member under a relative name with its
// DOS date and time. Volume names follow the first: DEMO.ARC, then DEMO.A01, DEMO.A02 and so
// on (DEMO, DEMO.001, DEMO.002 without an extension).
//
// A member header must know its stored length, and each volume header must know whether a
// volume follows, before anything is written; the writer therefore implodes every file
// twice, once to measure and once to write, so that memory stays bounded whatever the sizes.
#pragma once

#include "files/implode_encoder.h"
#include "os/file_system.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrel::files {

enum class LiteralChoice {
    Binary,
    Ascii,
    Auto, // coded literals for files that look like text, plain ones otherwise
};

struct PackedArchiveOptions {
    uint64_t maxVolumeSize = 0; // 0: a single volume of any size
    LiteralChoice literals = LiteralChoice::Auto;
    ImplodeDictionary dictionary = ImplodeDictionary::Size4096;
};

struct ArchiveWriteError {
    std::string file;
    std::string message;
};

// Smallest volume that holds its header, one member header and one stored byte.
inline constexpr uint64_t kMinVolumeSize = 58 + 168 + 1;

// Why a volume file name cannot start a multi-volume archive (the next-volume field holds an
// 8.3 name), or empty.
std::string volumeNameProblem(const std::string& fileName);

// The file name of continuation volume `index` (1, 2, ...) of an archive whose first volume
// is `firstName`; none when the numbering runs out (99 with an extension, 999 without).
std::optional<std::string> continuationVolumeName(const std::string& firstName, uint32_t index);

// Whether a sample of a file reads like text, which the coded literals compress best.
bool looksLikeText(std::span<const uint8_t> sample);

class PackedArchiveWriter {
  public:
    PackedArchiveWriter(os::FileSystem& files, PackedArchiveOptions options)
        : files_(files), options_(options) {}

    // Queues a file under a relative member name (backslashes or slashes between levels).
    bool addMember(const std::string& sourcePath, const std::string& memberName,
                   ArchiveWriteError& error);

    // Writes the archive whose first volume is `firstVolumePath`; the others go beside it.
    bool write(const std::string& firstVolumePath, ArchiveWriteError& error);

    // Paths of the volumes written, first to last.
    const std::vector<std::string>& volumePaths() const { return volumePaths_; }

  private:
    struct Member {
        std::string sourcePath;
        std::string name;
        os::DosDateTime stamp;
        ImplodeLiteralMode literals = ImplodeLiteralMode::Binary;
        uint32_t storedLength = 0;
    };
    class VolumeCursor;

    bool measure(Member& member, ArchiveWriteError& error);
    bool implode(Member& member, const ImplodeEncoder::Sink& sink, uint64_t& storedLength,
                 ArchiveWriteError& error);
    bool volumeWriteFailed(uint32_t volumesOpened, ArchiveWriteError& error);
    bool layOut(const std::string& firstVolumePath, uint32_t& volumeCount,
                ArchiveWriteError& error);

    os::FileSystem& files_;
    PackedArchiveOptions options_;
    std::vector<Member> members_;
    std::vector<std::string> volumePaths_;
};

} // namespace kestrel::files
