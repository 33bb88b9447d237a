// The file-access layer through which the script, every source file and every archive volume
// is read. A name is first looked up among the members of the packed installation file (the
// container, see container_format.h) when one is set, then opened as an ordinary file; either
// way the caller gets a PackedFile that reads, seeks and reports size, DOS date and time, and
// attributes.
#pragma once

#include "files/container_format.h"
#include "os/file_system.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel::files {

class PackedFileLayer;

// An input file like any other, so that the script reader and the archive reader take it as it
// is; it also tells the size, stamp and attributes that the copy pipeline gives installed files.
class PackedFile final : public os::InputFile {
  public:
    ~PackedFile() override;
    PackedFile(const PackedFile&) = delete;
    PackedFile& operator=(const PackedFile&) = delete;

    // Bytes read (0 at the end), or -1 on an error or when the container was closed.
    int32_t read(void* buffer, uint32_t count) override;
    // The new position, or -1. A member's position is kept within 0..size.
    int64_t seek(int64_t offset, os::SeekOrigin origin) override;
    int64_t tell() override;

    bool isMember() const { return !file_; }
    uint32_t size() const { return size_; }
    uint16_t dosDate() const { return date_; }
    uint16_t dosTime() const { return time_; }
    uint32_t attributes() const { return attributes_; }

  private:
    friend class PackedFileLayer;
    PackedFile() = default;

    PackedFileLayer* layer_ = nullptr;    // for members: the container they live in
    uint64_t containerGeneration_ = 0;    // which opening of the container
    std::unique_ptr<os::InputFile> file_; // for ordinary files
    uint32_t base_ = 0;
    uint32_t position_ = 0;
    uint32_t size_ = 0;
    uint16_t date_ = 0;
    uint16_t time_ = 0;
    uint32_t attributes_ = 0;
};

class PackedFileLayer {
  public:
    static constexpr size_t kMaxContainerPath = 255;

    explicit PackedFileLayer(os::FileSystem& files) : files_(files) {}
    ~PackedFileLayer();
    PackedFileLayer(const PackedFileLayer&) = delete;
    PackedFileLayer& operator=(const PackedFileLayer&) = delete;

    // The container to look names up in; opened lazily by the next open(). A path longer
    // than the layer keeps is refused (false).
    bool setContainerPath(const std::string& path);
    const std::string& containerPath() const { return containerPath_; }

    // A member of the container, else the ordinary file; none when neither can be opened,
    // or when an ordinary file's name holds a wildcard.
    std::unique_ptr<PackedFile> open(const std::string& name);

    void closeContainer();
    void switchLookupOff() { lookupOff_ = true; }
    bool containerOpen() const { return trailer_.firstRecord != 0; }

  private:
    friend class PackedFile;
    void openContainerIfNeeded();
    bool findMember(const std::string& fileName, PackedFile& handle);

    os::FileSystem& files_;
    std::string containerPath_;
    std::unique_ptr<os::InputFile> container_;
    ContainerTrailer trailer_;
    uint64_t generation_ = 0;
    bool lookupOff_ = false;
};

} // namespace kestrel::files
