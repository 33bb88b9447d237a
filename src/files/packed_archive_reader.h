// Unpacks a packed archive (layout in packed_archive_format.h) into the directory of the
// requested destination: each member is exploded into a file of its own name, under the
// overwrite mode of the file entry that named the archive, then dated, given the entry's
// attributes and logged. When a volume runs out the next one is asked for through the disk
// prompt and opened beside the first. A file that is not an archive is handed back untouched
// for a plain copy.
//
// Member names come from the network: a name that is absolute, carries a drive, or climbs
// out of the destination with ".." is refused with a message, its bytes are passed over and
// the other members are unpacked (the result then says how many were refused).
#pragma once

#include "files/archive_volume_source.h"
#include "files/copy_services.h"
#include "files/explode_decoder.h"
#include "files/packed_archive_format.h"
#include "lexical/message_texts.h"
#include "lexical/overwrite_mode.h"
#include "os/file_system.h"
#include "os/prompts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kestrel::files {

enum class UnpackResult : int32_t {
    Done = 0,          // the archive was processed
    Failed = -1,       // failed or cancelled; a message was shown, except for a cancel and
                       // for data the decoder could not decode
    NotAnArchive = -2, // nothing was changed; copy the file plainly
};

// A volume chain longer than this is taken as damaged: it would otherwise let a cycle of
// volumes naming each other run on for ever.
inline constexpr int32_t kMaxArchiveVolumes = 1000;

// Everything the reader reaches outside itself.
struct PackedArchiveContext {
    ArchiveVolumeSource& volumes;
    os::FileSystem& files;
    os::Prompts& prompts;
    InstallProgress& progress;
    NextDiskPrompt& disks;
    InstallRecord& record;
    // The question asked before replacing a file under OVERWRITE=ASK; the destination and
    // "?" follow it.
    std::string fileExistsText{lexical::texts::kFileExists};
};

// Why a member name cannot be unpacked safely, or empty when it can. The name is used
// relative to the destination directory, so it must stay below it.
std::string memberNameProblem(const archive::TextField& name);

class PackedArchiveReader {
  public:
    explicit PackedArchiveReader(PackedArchiveContext context) : ctx_(std::move(context)) {}
    PackedArchiveReader(const PackedArchiveReader&) = delete;
    PackedArchiveReader& operator=(const PackedArchiveReader&) = delete;

    // Unpacks the archive at sourcePath into the directory part of destinationPath (up to
    // its last backslash). Members unpacked before a failure stay installed and logged.
    UnpackResult unpackArchive(const std::string& destinationPath, const std::string& sourcePath,
                               lexical::OverwriteMode mode, uint32_t attributes);

    // Walks the members without unpacking anything, for listings.
    UnpackResult listArchive(const std::string& sourcePath,
                             const std::function<void(const archive::MemberHeader&)>& visit);

    // Members of the last archive refused for their names.
    int32_t refusedMembers() const { return refused_; }

  private:
    UnpackResult openFirstVolume(const std::string& sourcePath);
    // Reads the next member's header into member_. False when the members are over: `ended` is
    // then what the walk ends with, Done past the last member or Failed on a broken header.
    bool readMemberHeader(UnpackResult& ended);
    UnpackResult unpackMember(lexical::OverwriteMode mode, uint32_t attributes);
    UnpackResult explodeMember(const std::string& destination);
    int32_t nextVolume();
    int32_t skipMember();
    int32_t skipStoredBytes(uint32_t remaining);
    // A message box with text and what it is about (a path), as one line.
    void showError(std::string_view text, std::string_view subject = {});
    UnpackResult finish(UnpackResult result);

    static uint32_t readStored(uint8_t* buffer, uint32_t* size, void* user);
    static void writeDecoded(const uint8_t* buffer, uint32_t* count, void* user);

    PackedArchiveContext ctx_;

    std::string sourcePath_;
    std::string sourceDirectory_;
    std::string destinationDirectory_;
    std::unique_ptr<os::InputFile> volume_;
    std::string volumePath_;
    archive::VolumeHeader volumeHeader_;
    int32_t volumesOpened_ = 0;
    archive::MemberHeader member_;
    int32_t remaining_ = 0;
    std::unique_ptr<os::OutputFile> output_;
    uint32_t consumed_ = 0;
    int64_t lastReport_ = 0;
    bool abort_ = false;
    int32_t refused_ = 0;
    std::unique_ptr<ExplodeDecoder> decoder_;
};

} // namespace kestrel::files
