#include "files/packed_file.h"

#include "lexical/ansi_text.h"
#include "lexical/path_text.h"

#include <algorithm>

namespace kestrel::files {
PackedFile::~PackedFile() = default;

int32_t PackedFile::read(void* buffer, uint32_t count) {
    if (file_) {
        return file_->read(buffer, count);
    }
    os::InputFile* container = layer_->container_.get();
    if (!container || layer_->generation_ != containerGeneration_) {
        return -1;
    }
    uint32_t wanted = std::min(count, size_ - position_);
    if (wanted == 0) {
        return 0;
    }
    if (container->seek(int64_t(base_) + position_, os::SeekOrigin::Start) < 0) {
        return -1;
    }
    int32_t got = container->read(buffer, wanted);
    if (got < 0) {
        return -1;
    }
    // The position follows the container's own, as a short read near its end leaves it.
    int64_t now = container->tell();
    position_ = now < base_ ? 0 : uint32_t(std::min<int64_t>(now - base_, size_));
    return got;
}

int64_t PackedFile::seek(int64_t offset, os::SeekOrigin origin) {
    if (file_) {
        return file_->seek(offset, origin);
    }
    if (!layer_->container_ || layer_->generation_ != containerGeneration_) {
        return -1;
    }
    int64_t start = origin == os::SeekOrigin::Start     ? 0
                    : origin == os::SeekOrigin::Current ? int64_t(position_)
                                                        : int64_t(size_);
    position_ = uint32_t(std::clamp<int64_t>(start + offset, 0, size_));
    return position_;
}

int64_t PackedFile::tell() {
    return file_ ? file_->tell() : int64_t(position_);
}

PackedFileLayer::~PackedFileLayer() {
    closeContainer();
}

bool PackedFileLayer::setContainerPath(const std::string& path) {
    if (path.size() > kMaxContainerPath) {
        return false;
    }
    if (path != containerPath_) {
        closeContainer();
        containerPath_ = path;
    }
    return true;
}

void PackedFileLayer::closeContainer() {
    container_.reset();
    containerPath_.clear();
    trailer_ = {};
    ++generation_;
}

void PackedFileLayer::openContainerIfNeeded() {
    if (container_ || containerPath_.empty()) {
        return;
    }
    auto file = files_.openForReading(containerPath_);
    auto trailer = file ? readContainerTrailer(*file) : std::nullopt;
    if (!trailer) {
        closeContainer();
        return;
    }
    container_ = std::move(file);
    trailer_ = *trailer;
    ++generation_;
}

bool PackedFileLayer::findMember(const std::string& fileName, PackedFile& handle) {
    bool found = false;
    walkContainerRecords(*container_, trailer_, [&](const ContainerRecord& record) {
        if (!lexical::equalsIgnoringAsciiCase(record.name, fileName)) {
            return true;
        }
        handle.layer_ = this;
        handle.containerGeneration_ = generation_;
        handle.base_ = record.dataOffset();
        handle.attributes_ = record.attributes;
        handle.time_ = record.stamp.time;
        handle.date_ = record.stamp.date;
        handle.size_ = record.size;
        found = true;
        return false;
    });
    return found;
}

std::unique_ptr<PackedFile> PackedFileLayer::open(const std::string& name) {
    openContainerIfNeeded();
    std::unique_ptr<PackedFile> handle(new PackedFile());
    // Members are stored by file name and extension only, so drive and directory are dropped.
    const std::string memberName(lexical::fileNamePart(name));
    if (containerOpen() && !lookupOff_ && findMember(memberName, *handle)) {
        return handle;
    }
    if (name.find_first_of("*?") != std::string::npos) {
        return nullptr;
    }
    handle->file_ = files_.openForReading(name);
    if (!handle->file_) {
        return nullptr;
    }
    // A file dated outside what DOS can hold (before 1980) still reads; it has no stamp (0)
    // to pass on.
    const os::DosDateTime stamp = files_.readDosDateTime(name).value_or(os::DosDateTime{});
    handle->date_ = stamp.date;
    handle->time_ = stamp.time;
    handle->attributes_ = files_.readAttributes(name).value_or(0);
    int64_t length = handle->file_->seek(0, os::SeekOrigin::End);
    if (length < 0 || handle->file_->seek(0, os::SeekOrigin::Start) != 0) {
        return nullptr;
    }
    handle->size_ = uint32_t(std::min<int64_t>(length, UINT32_MAX));
    return handle;
}

} // namespace kestrel::files
