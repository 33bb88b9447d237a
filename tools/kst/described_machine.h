// The computer `kst check` pretends to run a script on: versions, memory, display, drives,
// directories and files, as the command line describes them. The IF tests of the script read
// it; nothing of the real machine is looked at.
#pragma once

#include "os/directory_search.h"
#include "os/drives.h"
#include "os/file_system.h"
#include "os/file_version.h"
#include "os/registry_reader.h"
#include "os/system_info.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kst {

struct MachineDescription {
    uint8_t windowsMajor = 4;
    uint8_t windowsMinor = 0;
    uint8_t dosMajor = 7;
    uint8_t dosMinor = 10;
    uint64_t memoryBytes = 16u << 20;
    kestrel::os::DisplayMode display{8, 1, 800, 600};
    std::map<char, kestrel::os::DriveType> drives{{'C', kestrel::os::DriveType::Fixed}};
    std::string windowsDir = "C:\\WINDOWS";
    std::string systemDir = "C:\\WINDOWS\\SYSTEM";
    std::string workingDirectory = "C:\\WINDOWS";
    std::string sourceDir; // the web directory the script came from

    // The system's version value: Windows in the low word, DOS in the high word.
    uint32_t systemVersion() const {
        return uint32_t{windowsMajor} | uint32_t{windowsMinor} << 8 | uint32_t{dosMinor} << 16 |
               uint32_t{dosMajor} << 24;
    }
};

// "major.minor" with numbers 0..255, as a version is written on the command line.
std::optional<std::pair<uint8_t, uint8_t>> parseVersion(const std::string& text);
// "fixed", "removable", "network", "cdrom" or "ramdisk".
std::optional<kestrel::os::DriveType> parseDriveType(const std::string& text);

class DescribedMachine : public kestrel::os::SystemInfo,
                         public kestrel::os::Drives,
                         public kestrel::os::DirectorySearch,
                         public kestrel::os::RegistryReader,
                         public kestrel::os::FileVersionReader,
                         public kestrel::os::FileSystem {
  public:
    explicit DescribedMachine(MachineDescription description)
        : description_(std::move(description)) {}

    // A file that exists, with its contents (for the `search` test); its directories exist too.
    void addFile(const std::string& path, std::string contents);
    void addDirectory(const std::string& path);

    const MachineDescription& description() const { return description_; }

    // SystemInfo
    uint64_t totalPhysicalMemory() override { return description_.memoryBytes; }
    kestrel::os::DisplayMode displayMode() override { return description_.display; }
    // Drives
    kestrel::os::DriveType driveType(char letter) override;
    // DirectorySearch
    bool directoryExists(const std::string& path) override;
    bool anyEntryMatches(const std::string& pattern) override;
    std::optional<std::vector<std::string>> subdirectories(const std::string& directory) override;
    // RegistryReader and FileVersionReader: no component is registered.
    std::optional<std::string> classesRootDefaultValue(const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> versionString(const std::string&) override { return std::nullopt; }
    // FileSystem: the described files can be read; nothing is written.
    std::unique_ptr<kestrel::os::InputFile> openForReading(const std::string& path) override;
    std::unique_ptr<kestrel::os::OutputFile> createForWriting(const std::string&) override {
        return nullptr;
    }
    std::optional<kestrel::os::DosDateTime> readDosDateTime(const std::string&) override {
        return std::nullopt;
    }
    bool setDosDateTime(const std::string&, kestrel::os::DosDateTime) override { return false; }
    std::optional<uint32_t> readAttributes(const std::string&) override { return std::nullopt; }
    bool setAttributes(const std::string&, uint32_t) override { return false; }
    bool createDirectories(const std::string&) override { return false; }
    std::unique_ptr<kestrel::os::OutputFile> openForAppend(const std::string&) override {
        return nullptr;
    }
    std::optional<std::vector<kestrel::os::DirectoryEntry>>
    listDirectory(const std::string&) override {
        return std::nullopt;
    }
    bool createDirectory(const std::string&) override { return false; }
    std::optional<kestrel::os::UniqueFile> createUniqueFile(const std::string&,
                                                            const std::string&) override {
        return std::nullopt;
    }
    bool replaceFile(const std::string&, const std::string&) override { return false; }
    bool moveFile(const std::string&, const std::string&) override { return false; }
    bool copyFile(const std::string&, const std::string&) override { return false; }
    bool deleteFile(const std::string&) override { return false; }
    bool sameFile(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> currentDirectory() override { return description_.workingDirectory; }

  private:
    // Upper case, absolute (relative paths start at the working directory), no trailing
    // backslash except on a root ("C:\").
    std::string normalised(const std::string& path) const;

    MachineDescription description_;
    std::map<std::string, std::string> files_;
    std::set<std::string> directories_;
};

} // namespace kst
