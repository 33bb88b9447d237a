// Reading a packed archive: volume by volume, member by member.
//
// The reader keeps one volume open at a time. Member headers are read whole from one
// volume; a volume that ends inside a header is left and the header is read again from the
// start of the next volume's data. Stored bytes are pulled by the decoder through
// readStored(), which crosses into the next volume wherever the current one runs short, so
// a member may span any number of volumes. Memory stays at the decoder's window and one
// header whatever the archive holds.
//
// Where damaged input could make the format's own rules misbehave, the reader is stricter:
// a negative member count is a damaged archive; reading stops once the count is used up;
// stored bytes the decoder left behind its end marker are passed over so the next header is
// found where it is; next-volume names must be plain file names; and a chain of volumes is
// bounded (kMaxArchiveVolumes).
#include "files/packed_archive_reader.h"

#include "lexical/install_log_lines.h"
#include "lexical/message_texts.h"
#include "lexical/overwrite_mode.h"
#include "lexical/path_text.h"
#include "os/read_fully.h"

#include <algorithm>
#include <new>

namespace kestrel::files {
namespace {

namespace texts = lexical::texts;

// Progress is advanced at most once per this many bytes while a member is written.
constexpr int32_t kProgressStep = 50000;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// A component such as "..", "..." or ". ." names the parent or worse once Windows has
// dropped trailing dots and blanks; "." alone is harmless.
bool climbs(const std::string& component) {
    return !component.empty() && component != "." &&
           std::all_of(component.begin(), component.end(),
                       [](char c) { return c == '.' || c == ' '; });
}

// The next volume sits beside the current one: its name is a file name and nothing more.
bool isPlainFileName(const archive::TextField& name) {
    return name.terminated && !name.text.empty() &&
           name.text.find_first_of("\\/:") == std::string::npos && !climbs(name.text);
}

} // namespace

std::string memberNameProblem(const archive::TextField& name) {
    const std::string& text = name.text;
    if (!name.terminated) {
        return "the name fills its whole field";
    }
    if (text.empty()) {
        return "the name is empty";
    }
    if (isSeparator(text[0])) {
        return "the name is an absolute path";
    }
    if (text.find(':') != std::string::npos) {
        return "the name carries a drive";
    }
    size_t start = 0;
    for (;;) {
        size_t end = std::find_if(text.begin() + start, text.end(), isSeparator) - text.begin();
        std::string component = text.substr(start, end - start);
        if (climbs(component)) {
            return "the name leads out of the destination directory";
        }
        if (end == text.size()) {
            return component.empty() ? "the name has no file name" : std::string();
        }
        start = end + 1;
    }
}

UnpackResult PackedArchiveReader::unpackArchive(const std::string& destinationPath,
                                                const std::string& sourcePath,
                                                lexical::OverwriteMode mode, uint32_t attributes) {
    refused_ = 0;
    UnpackResult opened = openFirstVolume(sourcePath);
    if (opened != UnpackResult::Done) {
        return opened;
    }
    destinationDirectory_ = std::string(lexical::directoryPart(destinationPath));

    decoder_.reset(new (std::nothrow) ExplodeDecoder);
    if (!decoder_) {
        showError(texts::kNotEnoughMemory);
        return finish(UnpackResult::Failed);
    }

    for (;;) {
        if (ctx_.progress.pumpMessages()) {
            return finish(UnpackResult::Failed);
        }
        if (UnpackResult ended; !readMemberHeader(ended)) {
            return finish(ended);
        }
        if (unpackMember(mode, attributes) != UnpackResult::Done) {
            return finish(UnpackResult::Failed);
        }
    }
}

UnpackResult
PackedArchiveReader::listArchive(const std::string& sourcePath,
                                 const std::function<void(const archive::MemberHeader&)>& visit) {
    refused_ = 0;
    UnpackResult opened = openFirstVolume(sourcePath);
    if (opened != UnpackResult::Done) {
        return opened;
    }
    for (;;) {
        if (UnpackResult ended; !readMemberHeader(ended)) {
            return finish(ended);
        }
        visit(member_);
        if (skipMember() != 0) {
            return finish(UnpackResult::Failed);
        }
    }
}

UnpackResult PackedArchiveReader::openFirstVolume(const std::string& sourcePath) {
    abort_ = false;
    volumesOpened_ = 1;
    sourcePath_ = sourcePath;
    sourceDirectory_ = std::string(lexical::directoryPart(sourcePath));
    volumePath_ = sourcePath;
    volume_ = ctx_.volumes.openVolume(sourcePath);
    if (!volume_) {
        showError(texts::kNotFound, sourcePath);
        return UnpackResult::Failed;
    }
    uint8_t bytes[archive::kVolumeHeaderSize];
    if (os::readFully(*volume_, bytes, sizeof bytes) != sizeof bytes) {
        return finish(UnpackResult::NotAnArchive);
    }
    volumeHeader_ = archive::loadVolumeHeader(bytes);
    if (!volumeHeader_.isFirstVolume()) {
        return finish(UnpackResult::NotAnArchive);
    }
    remaining_ = volumeHeader_.memberCount;
    if (remaining_ < 0) {
        showError(texts::kInvalidCompressedFile, sourcePath);
        return finish(UnpackResult::Failed);
    }
    return UnpackResult::Done;
}

bool PackedArchiveReader::readMemberHeader(UnpackResult& ended) {
    ended = UnpackResult::Done;
    if (remaining_ == 0) {
        return false;
    }
    ended = UnpackResult::Failed;
    uint8_t bytes[archive::kMemberHeaderSize];
    if (os::readFully(*volume_, bytes, sizeof bytes) != sizeof bytes) {
        // A header never spans volumes: what was read of it here is dropped.
        if (!volumeHeader_.hasNextVolume()) {
            showError(texts::kReadingFileError, sourcePath_);
            return false;
        }
        if (nextVolume() != 0) {
            return false;
        }
        if (os::readFully(*volume_, bytes, sizeof bytes) != sizeof bytes) {
            showError(texts::kReadingFileError, volumePath_);
            return false;
        }
    }
    --remaining_;
    member_ = archive::loadMemberHeader(bytes);
    return true;
}

UnpackResult PackedArchiveReader::unpackMember(lexical::OverwriteMode mode, uint32_t attributes) {
    std::string problem = memberNameProblem(member_.name);
    if (!problem.empty()) {
        ++refused_;
        showError(texts::kRefusedMember, member_.name.text + " (" + problem + ")");
        return skipMember() == 0 ? UnpackResult::Done : UnpackResult::Failed;
    }
    const std::string destination = destinationDirectory_ + member_.name.text;
    if (member_.name.text.find_first_of("\\/") != std::string::npos &&
        !ctx_.record.createDirectories(std::string(lexical::directoryPart(destination)))) {
        return UnpackResult::Failed;
    }
    os::DosDateTime existing = ctx_.files.readDosDateTime(destination).value_or(os::DosDateTime{});

    // Existence by attributes: a file another program holds open still exists.
    const std::optional<uint32_t> found = ctx_.files.readAttributes(destination);
    bool create = true;
    if (found && mode != lexical::OverwriteMode::Yes) {
        switch (mode) {
        case lexical::OverwriteMode::New:
            create = member_.date > existing.date ||
                     (member_.date == existing.date && member_.time > existing.time);
            break;
        case lexical::OverwriteMode::Ask:
            create = ctx_.prompts.messageBox(ctx_.fileExistsText + destination + "?", "",
                                             os::kMbYesNo | os::kMbIconQuestion) == os::kIdYes;
            break;
        default:
            create = false;
            break;
        }
    }
    if (!create) {
        if (ctx_.progress.countsBytes()) {
            std::unique_ptr<os::InputFile> old = ctx_.files.openForReading(destination);
            int64_t length = old ? old->seek(0, os::SeekOrigin::End) : 0;
            ctx_.progress.addBytesDone(uint64_t(std::max<int64_t>(length, 0)));
            ctx_.progress.advance();
        }
        return skipMember() == 0 ? UnpackResult::Done : UnpackResult::Failed;
    }
    if (found && (*found & os::attributes::Directory)) {
        showError(texts::kCannotCreateFile, destination);
        return UnpackResult::Failed;
    }
    // The member is written beside its destination and put in its place only once whole: a
    // damaged member never costs the file that was there.
    std::optional<os::UniqueFile> temporary =
        ctx_.files.createUniqueFile(lexical::parentDirectory(destination), "kst");
    if (!temporary) {
        showError(texts::kCannotCreateFile, destination);
        return UnpackResult::Failed;
    }
    output_ = std::move(temporary->file);
    const auto discard = [&] {
        output_.reset();
        ctx_.files.deleteFile(temporary->path);
        return UnpackResult::Failed;
    };
    if (explodeMember(destination) != UnpackResult::Done) {
        return discard();
    }
    output_.reset();
    ctx_.files.setDosDateTime(temporary->path, {member_.date, member_.time});
    ctx_.files.setAttributes(temporary->path, attributes);
    // A read-only file would refuse to be replaced; a missing one has nothing to clear.
    if (found) {
        ctx_.files.setAttributes(destination, os::attributes::Normal);
    }
    if (!ctx_.files.replaceFile(temporary->path, destination)) {
        if (found) {
            ctx_.files.setAttributes(destination, *found);
        }
        ctx_.files.setAttributes(temporary->path, os::attributes::Normal);
        showError(texts::kCannotCreateFile, destination);
        return discard();
    }
    ctx_.record.writeLogLine(lexical::logline::file(destination));
    return UnpackResult::Done;
}

UnpackResult PackedArchiveReader::explodeMember(const std::string& destination) {
    consumed_ = 0;
    ctx_.progress.showCurrentFile(destination);
    ctx_.progress.advance();
    if (member_.storedLength != 0) {
        lastReport_ = ctx_.progress.bytesDone();
        ExplodeResult result = decoder_->explode(readStored, writeDecoded, this);
        if (result != ExplodeResult::Done || abort_) {
            return UnpackResult::Failed;
        }
        // Bytes behind the end marker belong to no one; the next header follows them.
        if (consumed_ < member_.storedLength &&
            skipStoredBytes(member_.storedLength - consumed_) != 0) {
            return UnpackResult::Failed;
        }
    }
    if (ctx_.progress.countsBytes()) {
        ctx_.progress.advance();
    }
    return UnpackResult::Done;
}

uint32_t PackedArchiveReader::readStored(uint8_t* buffer, uint32_t* size, void* user) {
    auto& self = *static_cast<PackedArchiveReader*>(user);
    if (self.abort_) {
        return 0;
    }
    uint32_t wanted = std::min(*size, self.member_.storedLength - self.consumed_);
    if (wanted == 0) {
        return 0;
    }
    int64_t got = os::readFully(*self.volume_, buffer, wanted);
    if (got < 0) {
        self.abort_ = true;
        self.showError(texts::kReadingDiskError);
        return 0;
    }
    // The member runs on into the following volumes, however many it takes.
    while (uint32_t(got) < wanted && self.volumeHeader_.hasNextVolume()) {
        if (self.nextVolume() != 0) {
            self.abort_ = true;
            return 0;
        }
        int64_t more = os::readFully(*self.volume_, buffer + got, wanted - uint32_t(got));
        if (more <= 0) {
            self.showError(texts::kReadingDiskError);
            self.abort_ = true;
            return 0;
        }
        got += more;
    }
    self.consumed_ += uint32_t(got);
    return uint32_t(got);
}

void PackedArchiveReader::writeDecoded(const uint8_t* buffer, uint32_t* count, void* user) {
    auto& self = *static_cast<PackedArchiveReader*>(user);
    if (self.abort_ || *count == 0) {
        return;
    }
    int32_t put = self.output_->write(buffer, *count);
    if (put <= 0) {
        self.abort_ = true;
        self.showError(texts::kWritingDiskError);
        return;
    }
    InstallProgress& progress = self.ctx_.progress;
    if (progress.countsBytes()) {
        progress.addBytesDone(*count);
        if (progress.bytesDone() - self.lastReport_ > kProgressStep) {
            progress.advance();
            self.lastReport_ = progress.bytesDone();
        }
    }
}

int32_t PackedArchiveReader::nextVolume() {
    volume_.reset();
    const archive::TextField& name = volumeHeader_.nextName;
    if (!isPlainFileName(name) || volumesOpened_ >= kMaxArchiveVolumes) {
        showError(texts::kInvalidCompressedFile, volumePath_);
        return -1;
    }
    volumePath_ = sourceDirectory_ + name.text;
    ctx_.record.setContinuationName(name.text);
    if (ctx_.progress.pumpMessages() || ctx_.disks.askForNextDisk(true)) {
        return -1;
    }
    while (!(volume_ = ctx_.volumes.openVolume(volumePath_))) {
        if (ctx_.disks.askForNextDisk(false)) {
            return -1;
        }
    }
    ++volumesOpened_;
    ctx_.progress.advance();
    uint8_t bytes[archive::kVolumeHeaderSize];
    archive::VolumeHeader header;
    if (os::readFully(*volume_, bytes, sizeof bytes) == sizeof bytes) {
        header = archive::loadVolumeHeader(bytes);
    }
    if (!header.isContinuation()) {
        showError(texts::kInvalidCompressedFile, volumePath_);
        volume_.reset();
        return -1;
    }
    volumeHeader_ = header;
    return 0;
}

int32_t PackedArchiveReader::skipMember() {
    ctx_.progress.showCurrentFile(member_.name.text);
    ctx_.progress.advance();
    if (skipStoredBytes(member_.storedLength) != 0) {
        return -1;
    }
    if (ctx_.progress.countsBytes()) {
        ctx_.progress.advance();
    }
    return 0;
}

int32_t PackedArchiveReader::skipStoredBytes(uint32_t remaining) {
    for (;;) {
        int64_t position = volume_->tell();
        int64_t length = volume_->seek(0, os::SeekOrigin::End);
        if (position < 0 || length < position) {
            showError(texts::kReadingDiskError);
            return -1;
        }
        if (length - position >= remaining) {
            return volume_->seek(position + remaining, os::SeekOrigin::Start) < 0 ? -1 : 0;
        }
        remaining -= uint32_t(length - position);
        if (!volumeHeader_.hasNextVolume()) {
            // The member claims more bytes than the archive has left.
            showError(texts::kReadingFileError, sourcePath_);
            return -1;
        }
        if (nextVolume() != 0) {
            return -1;
        }
    }
}

void PackedArchiveReader::showError(std::string_view text, std::string_view subject) {
    const std::string message = std::string(text) + std::string(subject);
    ctx_.prompts.messageBox(message, os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
}

UnpackResult PackedArchiveReader::finish(UnpackResult result) {
    output_.reset();
    volume_.reset();
    decoder_.reset();
    return result;
}

} // namespace kestrel::files
