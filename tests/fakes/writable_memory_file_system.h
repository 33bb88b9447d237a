// A writable file system in memory: files with their bytes, DOS stamp and attributes, and a
// set of directories. Faults can be planted: paths that cannot be created, files that another
// program holds open (locked: they cannot be written, replaced, deleted or copied onto), a disk
// that fills up after a number of bytes, short reads, and reads that fail from an offset on.
// Read-only files refuse what Windows refuses on them: writing, replacing, deleting.
#pragma once

#include "os/file_system.h"
#include "os/memory_input_file.h"
#include "os/unique_file_names.h"

#include <cstdio>
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
    std::set<std::string> uncreatable; // files, or directories no unique file can be made in
    std::set<std::string> locked;
    std::string currentDir = "C:\\";
    uint64_t spaceLeft = UINT64_MAX;
    uint32_t maxRead = UINT32_MAX;
    // When set, a file can be made only in a directory of `directories` (or a drive root).
    bool requireDirectories = false;

    File& add(const std::string& path, std::string bytes, os::DosDateTime stamp = {0x21, 0}) {
        File& file = files[path];
        file.bytes = std::move(bytes);
        file.stamp = stamp;
        return file;
    }

    std::unique_ptr<os::InputFile> openForReading(const std::string& path) override {
        auto found = files.find(path);
        if (found == files.end())
            return nullptr;
        return std::make_unique<os::MemoryInputFile>(found->second.bytes, maxRead,
                                                     found->second.failReadsFrom);
    }

    std::unique_ptr<os::OutputFile> createForWriting(const std::string& path) override {
        if (!creatable(path))
            return nullptr;
        File& file = files[path];
        file.bytes.clear();
        return std::make_unique<Output>(file, spaceLeft);
    }
    std::unique_ptr<os::OutputFile> openForAppend(const std::string& path) override {
        if (!creatable(path))
            return nullptr;
        return std::make_unique<Output>(files[path], spaceLeft);
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
        if (directories.count(path))
            return os::attributes::Directory;
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
    bool createDirectory(const std::string& path) override {
        return !files.count(path) && !uncreatable.count(path) && parentExists(path) &&
               directories.insert(path).second;
    }
    std::optional<std::vector<os::DirectoryEntry>> listDirectory(const std::string& dir) override {
        std::string parent =
            dir.size() > 3 && dir.back() == '\\' ? dir.substr(0, dir.size() - 1) : dir;
        std::vector<os::DirectoryEntry> entries;
        for (const auto& [path, file] : files)
            if (parentOf(path) == parent)
                entries.push_back({path.substr(path.rfind('\\') + 1), file.attributes});
        for (const std::string& path : directories)
            if (parentOf(path) == parent)
                entries.push_back({path.substr(path.rfind('\\') + 1), os::attributes::Directory});
        if (entries.empty() && !directories.count(parent))
            return std::nullopt;
        return entries;
    }
    std::optional<os::UniqueFile> createUniqueFile(const std::string& directory,
                                                   const std::string& stem) override {
        if (uncreatable.count(directory) || !parentExists(directory + "\\x"))
            return std::nullopt;
        std::optional<std::string> path =
            os::takeUniqueName(directory, '\\', stem, [&](const std::string& name) {
                return files.count(name) ? os::NameAttempt::InUse : os::NameAttempt::Taken;
            });
        if (!path)
            return std::nullopt;
        std::unique_ptr<os::OutputFile> file = std::make_unique<Output>(files[*path], spaceLeft);
        return os::UniqueFile{std::move(*path), std::move(file)};
    }
    bool replaceFile(const std::string& from, const std::string& to) override {
        if (!files.count(from) || locked.count(from) || !writable(to) || uncreatable.count(to))
            return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool moveFile(const std::string& from, const std::string& to) override {
        return !files.count(to) && replaceFile(from, to);
    }
    bool copyFile(const std::string& from, const std::string& to) override {
        if (!files.count(from) || !writable(to))
            return false;
        files[to] = files[from];
        return true;
    }
    bool deleteFile(const std::string& path) override {
        return files.count(path) && writable(path) && files.erase(path);
    }
    bool sameFile(const std::string& a, const std::string& b) override {
        return a == b && files.count(a);
    }
    std::optional<std::string> currentDirectory() override { return currentDir; }

  private:
    bool creatable(const std::string& path) const {
        return !uncreatable.count(path) && writable(path) && parentExists(path);
    }
    bool parentExists(const std::string& path) const {
        const std::string parent = parentOf(path);
        return !requireDirectories || parent.size() <= 3 || directories.count(parent);
    }
    static std::string parentOf(const std::string& path) {
        const size_t cut = path.rfind('\\');
        return cut == std::string::npos ? "" : path.substr(0, cut == 2 ? 3 : cut);
    }
    // Neither held open by another program nor read-only.
    bool writable(const std::string& path) const {
        auto found = files.find(path);
        return !locked.count(path) &&
               (found == files.end() || !(found->second.attributes & os::attributes::ReadOnly));
    }

    class Output : public os::OutputFile {
      public:
        Output(File& file, uint64_t& spaceLeft) : file_(file), spaceLeft_(spaceLeft) {}
        int32_t write(const void* buffer, uint32_t count) override {
            if (count > spaceLeft_)
                return -1;
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
