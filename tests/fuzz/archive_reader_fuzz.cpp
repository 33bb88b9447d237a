// Feeds arbitrary bytes to the packed archive reader as a chain of volumes: the input is cut
// at every "|VOL|" into A:\FUZZ.ARC, A:\V1, A:\V2, ... (next-volume names that the fuzzer
// learns to write), then unpacked twice (replacing, then only newer) and listed. The reader
// must finish, stay in bounds and write nothing outside C:\DEST\.
//
// cmake --preset fuzz && cmake --build build/fuzz --target archive_reader_fuzz
// scripts/fuzz.sh 600 archive_reader_fuzz
#include "files/archive_volume_source.h"
#include "files/packed_archive_reader.h"
#include "lexical/overwrite_mode.h"
#include "os/memory_input_file.h"
#include "os/unique_file_names.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

namespace {

using namespace kestrel;

constexpr std::string_view kVolumeMark = "|VOL|";
constexpr std::string_view kDestination = "C:\\DEST\\";
// Output beyond this is a full disk, which keeps decoding bombs quick.
constexpr uint64_t kDiskSpace = 8 << 20;

class Sink final : public os::OutputFile {
  public:
    explicit Sink(uint64_t& space) : space_(space) {}
    int32_t write(const void*, uint32_t count) override {
        if (count > space_) {
            return -1;
        }
        space_ -= count;
        return int32_t(count);
    }

  private:
    uint64_t& space_;
};

struct Machine final : os::FileSystem,
                       files::ArchiveVolumeSource,
                       files::InstallProgress,
                       files::NextDiskPrompt,
                       files::InstallRecord,
                       os::Prompts {
    std::map<std::string, std::string> volumes;
    std::map<std::string, os::DosDateTime> written;
    uint64_t space = kDiskSpace;
    int diskRequests = 0;

    // Below C:\DEST\ with no level that climbs back out of it.
    static void mustBeInside(const std::string& path) {
        if (path.compare(0, kDestination.size(), kDestination) != 0 ||
            path.find(':', kDestination.size()) != std::string::npos) {
            std::abort();
        }
        size_t start = kDestination.size();
        while (start <= path.size()) {
            size_t end = std::min(path.find_first_of("\\/", start), path.size());
            std::string_view level(path.data() + start, end - start);
            bool dotsOnly = level.find_first_not_of(". ") == std::string_view::npos;
            if ((start == kDestination.size() && level.empty() && end < path.size()) ||
                (dotsOnly && !level.empty() && level != ".")) {
                std::abort();
            }
            start = end + 1;
        }
    }

    // Volumes are read; everything else happens in the destination.
    std::unique_ptr<os::InputFile> openVolume(const std::string& path) override {
        auto found = volumes.find(path);
        return found == volumes.end() ? nullptr
                                      : std::make_unique<os::MemoryInputFile>(found->second);
    }
    std::unique_ptr<os::InputFile> openForReading(const std::string& path) override {
        mustBeInside(path);
        return written.count(path) ? std::make_unique<os::MemoryInputFile>("old") : nullptr;
    }
    std::unique_ptr<os::OutputFile> createForWriting(const std::string& path) override {
        mustBeInside(path);
        written[path] = {};
        return std::make_unique<Sink>(space);
    }
    std::optional<os::DosDateTime> readDosDateTime(const std::string& path) override {
        mustBeInside(path);
        auto found = written.find(path);
        return found == written.end() ? std::nullopt : std::optional(found->second);
    }
    bool setDosDateTime(const std::string& path, os::DosDateTime stamp) override {
        mustBeInside(path);
        written[path] = stamp;
        return true;
    }
    std::optional<uint32_t> readAttributes(const std::string& path) override {
        mustBeInside(path);
        return std::nullopt;
    }
    bool setAttributes(const std::string& path, uint32_t) override {
        mustBeInside(path);
        return true;
    }
    bool createDirectories(const std::string& path) override {
        mustBeInside(path);
        return true;
    }
    // A member is written to a file beside its destination, then put in its place or deleted.
    std::optional<os::UniqueFile> createUniqueFile(const std::string& directory,
                                                   const std::string& stem) override {
        auto path = os::takeUniqueName(directory, '\\', stem, [&](const std::string& name) {
            mustBeInside(name);
            return written.count(name) ? os::NameAttempt::InUse : os::NameAttempt::Taken;
        });
        if (!path)
            return std::nullopt;
        return os::UniqueFile{*path, createForWriting(*path)};
    }
    bool replaceFile(const std::string& from, const std::string& to) override {
        mustBeInside(from);
        mustBeInside(to);
        auto found = written.find(from);
        if (found == written.end())
            return false;
        written[to] = found->second;
        written.erase(from);
        return true;
    }
    bool deleteFile(const std::string& path) override {
        mustBeInside(path);
        return written.erase(path) != 0;
    }
    // Unpacking uses none of these.
    std::unique_ptr<os::OutputFile> openForAppend(const std::string&) override { std::abort(); }
    std::optional<std::vector<os::DirectoryEntry>> listDirectory(const std::string&) override {
        std::abort();
    }
    bool createDirectory(const std::string&) override { std::abort(); }
    bool moveFile(const std::string&, const std::string&) override { std::abort(); }
    bool copyFile(const std::string&, const std::string&) override { std::abort(); }
    bool sameFile(const std::string&, const std::string&) override { std::abort(); }
    std::optional<std::string> currentDirectory() override { std::abort(); }

    bool pumpMessages() override { return false; }
    void showCurrentFile(const std::string&) override {}
    void advance() override {}
    bool countsBytes() const override { return true; }
    int64_t bytesDone() const override { return 0; }
    void addBytesDone(uint64_t) override {}
    // A user who keeps inserting disks for a while, then gives up.
    bool askForNextDisk(bool) override { return ++diskRequests > 24; }
    void writeLogLine(const std::string&) override {}
    void setContinuationName(const std::string&) override {}
    os::PromptResult messageBox(std::string_view, std::string_view, uint32_t) override {
        return os::kIdYes;
    }
    os::PromptResult showScreen(const os::ScreenDialog&) override { return os::kIdOk; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Machine machine;
    for (size_t index = 0;; ++index) {
        size_t cut = input.find(kVolumeMark);
        std::string name = index == 0 ? "A:\\FUZZ.ARC" : "A:\\V" + std::to_string(index);
        machine.volumes[name] = std::string(input.substr(0, cut));
        if (cut == std::string_view::npos) {
            break;
        }
        input.remove_prefix(cut + kVolumeMark.size());
    }

    files::PackedArchiveReader reader({machine, machine, machine, machine, machine, machine});
    for (auto mode : {lexical::OverwriteMode::Yes, lexical::OverwriteMode::New}) {
        machine.diskRequests = 0;
        reader.unpackArchive("C:\\DEST\\FUZZ.ARC", "A:\\FUZZ.ARC", mode, 0x20);
    }
    machine.diskRequests = 0;
    reader.listArchive("A:\\FUZZ.ARC", [](const files::archive::MemberHeader&) {});
    return 0;
}
