// Files held in memory, for code that only reads them. Writing and attributes are refused.
#pragma once

#include "fakes/memory_input_file.h"
#include "os/file_system.h"

#include <map>
#include <memory>
#include <string>

namespace kestrel::test {

class MemoryFileSystem : public os::FileSystem {
  public:
    std::map<std::string, std::string> files;
    uint32_t maxRead = UINT32_MAX; // bytes a read hands out at most

    std::unique_ptr<os::InputFile> openForReading(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end())
            return nullptr;
        return std::make_unique<MemoryInputFile>(it->second, maxRead);
    }
    std::unique_ptr<os::OutputFile> createForWriting(const std::string&) override {
        return nullptr;
    }
    std::optional<os::DosDateTime> readDosDateTime(const std::string&) override {
        return std::nullopt;
    }
    bool setDosDateTime(const std::string&, os::DosDateTime) override { return false; }
    std::optional<uint32_t> readAttributes(const std::string&) override { return std::nullopt; }
    bool setAttributes(const std::string&, uint32_t) override { return false; }
    bool createDirectories(const std::string&) override { return false; }
};

} // namespace kestrel::test
