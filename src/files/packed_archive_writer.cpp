// Writing a packed archive.
//
// Placement rules, shared by the measuring pass and the writing pass through VolumeCursor:
// a volume starts with its 58-byte header; a member header goes whole into the current
// volume, or opens the next one when it would not fit; stored bytes fill every volume to its
// limit and run on behind the next volume's header. A volume is opened only when something
// has to go into it, so the last volume never ends up empty.
#include "files/packed_archive_writer.h"

#include "files/packed_archive_format.h"
#include "lexical/path_text.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace kestrel::files {
namespace {

constexpr uint32_t kReadChunk = 65536;
// Enough of a file to judge whether it is text.
constexpr size_t kTextSample = 4096;
// The DOS epoch, for files whose time cannot be given as a DOS date.
constexpr os::DosDateTime kEarliestStamp{(1 << 5) | 1, 0};

// What follows the directory part: a drive letter stays with the name, so that a volume name
// with a drive in it is refused rather than written beside the wrong directory.
std::string fileNameOf(const std::string& path) {
    return path.substr(lexical::directoryPart(path).size());
}

} // namespace

std::string volumeNameProblem(const std::string& fileName) {
    size_t dot = fileName.find('.');
    size_t baseLength = dot == std::string::npos ? fileName.size() : dot;
    size_t extensionLength = dot == std::string::npos ? 0 : fileName.size() - dot - 1;
    if (baseLength == 0 || baseLength > 8 || extensionLength > 3 ||
        (dot != std::string::npos && fileName.find('.', dot + 1) != std::string::npos) ||
        fileName.find_first_of(" \\/:*?\"<>|") != std::string::npos) {
        return "a multi-volume archive needs an 8.3 file name (at most 8 characters, a dot "
               "and at most 3), since each volume names the next in 13 characters";
    }
    return {};
}

std::optional<std::string> continuationVolumeName(const std::string& firstName, uint32_t index) {
    size_t dot = firstName.find_last_of('.');
    std::string base = dot == std::string::npos ? firstName : firstName.substr(0, dot);
    std::string digits = std::to_string(index);
    if (dot != std::string::npos && dot + 1 < firstName.size()) {
        if (index < 1 || index > 99) {
            return std::nullopt;
        }
        return base + "." + firstName[dot + 1] + std::string(2 - digits.size(), '0') + digits;
    }
    if (index < 1 || index > 999) {
        return std::nullopt;
    }
    return base + "." + std::string(3 - digits.size(), '0') + digits;
}

bool looksLikeText(std::span<const uint8_t> sample) {
    size_t texty = 0;
    for (uint8_t byte : sample) {
        if (byte == 0) {
            return false;
        }
        if ((byte >= 0x20 && byte < 0x7F) || byte == '\t' || byte == '\r' || byte == '\n' ||
            byte == '\f') {
            ++texty;
        }
    }
    // Text in the code page with a few accented letters still gains from the coded
    // literals; anything with more than one odd byte in twenty does not.
    return texty * 20 >= sample.size() * 19;
}

// Places volume headers, member headers and stored bytes by the rules above. Without an
// opener it only counts, which is how the writer learns the number of volumes.
class PackedArchiveWriter::VolumeCursor {
  public:
    using Opener = std::function<std::unique_ptr<os::OutputFile>(uint32_t index)>;

    VolumeCursor(uint64_t maxVolumeSize, Opener opener)
        : max_(maxVolumeSize), opener_(std::move(opener)) {}

    uint32_t volumes() const { return volumes_; }

    bool memberHeader(const uint8_t* bytes) {
        if (volumes_ == 0 || (max_ != 0 && position_ + archive::kMemberHeaderSize > max_)) {
            if (!openNext()) {
                return false;
            }
        }
        return put(bytes, archive::kMemberHeaderSize);
    }

    bool storedBytes(const uint8_t* bytes, size_t count) {
        while (count > 0) {
            if (max_ != 0 && position_ == max_ && !openNext()) {
                return false;
            }
            size_t room = max_ == 0 ? count : size_t(std::min<uint64_t>(count, max_ - position_));
            if (!put(bytes, room)) {
                return false;
            }
            if (bytes) { // the measuring pass passes none
                bytes += room;
            }
            count -= room;
        }
        return true;
    }

    // An archive without members still has its first volume.
    bool ensureFirstVolume() { return volumes_ > 0 || openNext(); }

  private:
    bool openNext() {
        if (opener_) {
            output_ = opener_(volumes_);
            if (!output_) {
                return false;
            }
        }
        ++volumes_;
        position_ = archive::kVolumeHeaderSize;
        return true;
    }

    bool put(const uint8_t* bytes, size_t count) {
        position_ += count;
        return !output_ || output_->write(bytes, uint32_t(count)) == int32_t(count);
    }

    uint64_t max_;
    Opener opener_;
    std::unique_ptr<os::OutputFile> output_;
    uint32_t volumes_ = 0;
    uint64_t position_ = 0;
};

bool PackedArchiveWriter::addMember(const std::string& sourcePath, const std::string& memberName,
                                    ArchiveWriteError& error) {
    std::string name = memberName;
    std::replace(name.begin(), name.end(), '/', '\\');
    std::string problem;
    if (name.size() >= archive::kMemberNameSize) {
        problem = "member name longer than " + std::to_string(archive::kMemberNameSize - 1) +
                  " characters: " + name;
    } else if (name.empty() || name[0] == '\\' || name.find(':') != std::string::npos ||
               name.back() == '\\' || ("\\" + name + "\\").find("\\..\\") != std::string::npos) {
        problem = "member name must be a relative path inside the destination: " + name;
    } else if (members_.size() >= size_t(archive::kMaxMembers)) {
        problem = "an archive holds at most " + std::to_string(archive::kMaxMembers) + " files";
    }
    if (!problem.empty()) {
        error = {sourcePath, problem};
        return false;
    }
    Member member;
    member.sourcePath = sourcePath;
    member.name = name;
    member.stamp = files_.readDosDateTime(sourcePath).value_or(kEarliestStamp);
    members_.push_back(std::move(member));
    return true;
}

bool PackedArchiveWriter::write(const std::string& firstVolumePath, ArchiveWriteError& error) {
    volumePaths_.clear();
    if (options_.maxVolumeSize != 0 && options_.maxVolumeSize < kMinVolumeSize) {
        error = {firstVolumePath,
                 "volume size must be at least " + std::to_string(kMinVolumeSize) + " bytes"};
        return false;
    }
    if (options_.maxVolumeSize != 0) {
        std::string problem = volumeNameProblem(fileNameOf(firstVolumePath));
        if (!problem.empty()) {
            error = {firstVolumePath, problem};
            return false;
        }
    }
    for (Member& member : members_) {
        if (!measure(member, error)) {
            return false;
        }
    }
    uint32_t volumeCount = 0;
    if (!layOut(firstVolumePath, volumeCount, error)) {
        return false;
    }

    const std::string directory = std::string(lexical::directoryPart(firstVolumePath));
    const std::string firstName = fileNameOf(firstVolumePath);
    for (uint32_t index = 0; index < volumeCount; ++index) {
        volumePaths_.push_back(index == 0 ? firstVolumePath
                                          : directory + *continuationVolumeName(firstName, index));
    }
    VolumeCursor cursor(options_.maxVolumeSize, [&](uint32_t index) {
        std::unique_ptr<os::OutputFile> out = files_.createForWriting(volumePaths_[index]);
        uint8_t header[archive::kVolumeHeaderSize];
        archive::storeVolumeHeader(
            header, index + 1 < volumeCount ? fileNameOf(volumePaths_[index + 1]) : "",
            int16_t(members_.size()), index == 0);
        if (!out || out->write(header, sizeof header) != int32_t(sizeof header)) {
            error = {volumePaths_[index], "cannot write the volume"};
            return std::unique_ptr<os::OutputFile>();
        }
        return out;
    });

    for (Member& member : members_) {
        uint8_t header[archive::kMemberHeaderSize];
        archive::storeMemberHeader(header, member.name, member.storedLength, member.stamp.date,
                                   member.stamp.time);
        if (!cursor.memberHeader(header)) {
            return volumeWriteFailed(cursor.volumes(), error);
        }
        if (member.storedLength == 0) {
            continue;
        }
        bool volumeFailed = false;
        auto sink = [&](const uint8_t* data, size_t size) {
            volumeFailed = !cursor.storedBytes(data, size);
            return !volumeFailed;
        };
        uint64_t storedLength = 0;
        if (!implode(member, sink, storedLength, error)) {
            return volumeFailed ? volumeWriteFailed(cursor.volumes(), error) : false;
        }
        if (storedLength != member.storedLength) {
            error = {member.sourcePath, "the file changed while it was being archived"};
            return false;
        }
    }
    return cursor.ensureFirstVolume() || volumeWriteFailed(cursor.volumes(), error);
}

bool PackedArchiveWriter::volumeWriteFailed(uint32_t volumesOpened, ArchiveWriteError& error) {
    // A volume that could not be made has been named by the opener already.
    if (error.message.empty()) {
        error = {volumePaths_[std::max<uint32_t>(volumesOpened, 1) - 1], "cannot write the volume"};
    }
    return false;
}

bool PackedArchiveWriter::measure(Member& member, ArchiveWriteError& error) {
    uint64_t storedLength = 0;
    if (!implode(
            member, [](const uint8_t*, size_t) { return true; }, storedLength, error)) {
        return false;
    }
    if (storedLength > UINT32_MAX) {
        error = {member.sourcePath, "file too large for an archive member"};
        return false;
    }
    member.storedLength = uint32_t(storedLength);
    return true;
}

// Implodes one file into the sink. An empty file stores nothing at all: its stored length
// of 0 tells the reader to make an empty file without running the decoder.
bool PackedArchiveWriter::implode(Member& member, const ImplodeEncoder::Sink& sink,
                                  uint64_t& storedLength, ArchiveWriteError& error) {
    std::unique_ptr<os::InputFile> in = files_.openForReading(member.sourcePath);
    if (!in) {
        error = {member.sourcePath, "cannot open the file"};
        return false;
    }
    std::vector<uint8_t> chunk(kReadChunk);
    int32_t got = in->read(chunk.data(), kReadChunk);
    if (got < 0) {
        error = {member.sourcePath, "cannot read the file"};
        return false;
    }
    storedLength = 0;
    if (got == 0) {
        return true;
    }
    switch (options_.literals) {
    case LiteralChoice::Binary:
        member.literals = ImplodeLiteralMode::Binary;
        break;
    case LiteralChoice::Ascii:
        member.literals = ImplodeLiteralMode::Ascii;
        break;
    case LiteralChoice::Auto:
        member.literals = looksLikeText({chunk.data(), std::min<size_t>(got, kTextSample)})
                              ? ImplodeLiteralMode::Ascii
                              : ImplodeLiteralMode::Binary;
        break;
    }
    ImplodeEncoder encoder({member.literals, options_.dictionary}, sink);
    while (got > 0) {
        if (!encoder.write(chunk.data(), size_t(got))) {
            return false;
        }
        got = in->read(chunk.data(), kReadChunk);
    }
    if (got < 0) {
        error = {member.sourcePath, "cannot read the file"};
        return false;
    }
    if (!encoder.finish()) {
        return false;
    }
    storedLength = encoder.bytesOut();
    return true;
}

bool PackedArchiveWriter::layOut(const std::string& firstVolumePath, uint32_t& volumeCount,
                                 ArchiveWriteError& error) {
    VolumeCursor dry(options_.maxVolumeSize, nullptr);
    static const uint8_t kNoBytes[1] = {};
    for (const Member& member : members_) {
        dry.memberHeader(kNoBytes);
        // Only the count matters here; the bytes are never looked at.
        for (uint64_t left = member.storedLength; left > 0;) {
            size_t step = size_t(std::min<uint64_t>(left, 1u << 30));
            dry.storedBytes(nullptr, step);
            left -= step;
        }
    }
    dry.ensureFirstVolume();
    volumeCount = dry.volumes();
    if (volumeCount > 1 && !continuationVolumeName(fileNameOf(firstVolumePath), volumeCount - 1)) {
        error = {firstVolumePath, "the archive would need " + std::to_string(volumeCount) +
                                      " volumes, more than its names can number; choose a "
                                      "larger volume size"};
        return false;
    }
    return true;
}

} // namespace kestrel::files
