// A writable file system in memory: files with their bytes, DOS stamp and attributes, and a
// set of directories. Faults can be planted: paths that cannot be created, a disk that fills
// up after a number of bytes, short reads, and reads that fail from an offset on.
#pragma once

#include "os/file_system.h"
#include "os/memory_input_file.h"

#include <map>
#include <set>
#include <string>

namespace kestrel::test {

class WritableMemoryFileSystem : public os::FileSystem {
  public:
    struct File {
        std::string bytes;
        os::DosDateTime stamp{(1 << 5) | 1, 0};
        uint32_t attributes = os::attributes::Archive;
        size_t failReadsFrom = SIZE_MAX;
    };

    std::map<std::string, File> files;
    std::set<std::string> directories;
    std::set<std::string> uncreatable;
    uint64_t spaceLeft = UINT64_MAX;
    uint32_t maxRead = UINT32_MAX;

    File& add(const std::string& path, std::string bytes, os::DosDateTime stamp = {0x21, 0}) {
        File& file = files[path];
        file.bytes = std::move(bytes);
        file.stamp = stamp;
        return file;
    }

    std::unique_ptr<os::InputFile> openForReading(const std::string& path) override {
        auto found = files.find(path);
        if (found == files.end()) {
            return nullptr;
        }
        return std::make_unique<os::MemoryInputFile>(found->second.bytes, maxRead,
                                                     found->second.failReadsFrom);
    }

    std::unique_ptr<os::OutputFile> createForWriting(const std::string& path) override {
        auto found = files.find(path);
        if (uncreatable.count(path) ||
            (found != files.end() && (found->second.attributes & os::attributes::ReadOnly))) {
            return nullptr;
        }
        File& file = files[path];
        file.bytes.clear();
        return std::make_unique<Output>(file, spaceLeft);
    }

    std::optional<os::DosDateTime> readDosDateTime(const std::string& path) override {
        auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second.stamp);
    }
    bool setDosDateTime(const std::string& path, os::DosDateTime stamp) override {
        auto found = files.find(path);
        return found != files.end() && (found->second.stamp = stamp, true);
    }
    std::optional<uint32_t> readAttributes(const std::string& path) override {
        if (directories.count(path)) {
            return os::attributes::Directory;
        }
        auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second.attributes);
    }
    bool setAttributes(const std::string& path, uint32_t value) override {
        auto found = files.find(path);
        return found != files.end() && (found->second.attributes = value, true);
    }
    bool createDirectories(const std::string& path) override {
        directories.insert(path);
        return true;
    }

  private:
    class Output : public os::OutputFile {
      public:
        Output(File& file, uint64_t& spaceLeft) : file_(file), spaceLeft_(spaceLeft) {}
        int32_t write(const void* buffer, uint32_t count) override {
            if (count > spaceLeft_) {
                return -1;
            }
            spaceLeft_ -= count;
            file_.bytes.append(static_cast<const char*>(buffer), count);
            return int32_t(count);
        }

      private:
        File& file_;
        uint64_t& spaceLeft_;
    };
};

} // namespace kestrel::test
