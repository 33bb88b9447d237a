// Builds a packed archive of about 100 MB over 10 MB volumes in a temporary folder (one
// 74 MB member that barely compresses, a 16 MB text member and 300 small files), unpacks it
// and prints the peak resident memory and the throughput of each phase. Each phase runs in
// a child process of its own, so that its peak is its own.
//
// Usage: archive_bench [FOLDER]   (default: a fresh folder under the system's temp folder)
#include "files/archive_volume_source.h"
#include "files/packed_archive_reader.h"
#include "files/packed_archive_writer.h"
#include "files/silent_progress.h"
#include "lexical/overwrite_mode.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kestrel;
namespace fsys = std::filesystem;

constexpr uint64_t kVolumeSize = 10ull << 20;

struct Quiet final : files::SilentProgress,
                     files::NextDiskPrompt,
                     files::InstallRecord,
                     os::Prompts {
    bool askForNextDisk(bool firstRequest) override { return !firstRequest; }
    bool createDirectories(const std::string& path) override {
        std::error_code ignored;
        std::string native = path;
        std::replace(native.begin(), native.end(), '\\', '/');
        fsys::create_directories(native, ignored);
        return true;
    }
    void writeLogLine(const std::string&) override {}
    void setContinuationName(const std::string&) override {}
    os::PromptResult messageBox(std::string_view text, std::string_view, uint32_t) override {
        std::fprintf(stderr, "archive_bench: %.*s\n", int(text.size()), text.data());
        return os::kIdNo;
    }
    os::PromptResult showScreen(const os::ScreenDialog&) override { return os::kIdOk; }
};

// Writes `size` bytes made by `fill` in 1 MB pieces.
void writeFile(const fsys::path& path, uint64_t size,
               const std::function<void(std::string&)>& fill) {
    fsys::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    std::string piece;
    for (uint64_t done = 0; done < size;) {
        piece.clear();
        fill(piece);
        size_t take = size_t(std::min<uint64_t>(piece.size(), size - done));
        out.write(piece.data(), std::streamsize(take));
        done += take;
    }
}

uint64_t makeSources(const fsys::path& root) {
    std::mt19937_64 random(42);
    uint64_t total = 0;
    writeFile(root / "big.bin", 74ull << 20, [&](std::string& piece) {
        for (int i = 0; i < (1 << 17); ++i) {
            uint64_t word = random();
            piece.append(reinterpret_cast<const char*>(&word), 8);
        }
    });
    total += 74ull << 20;
    const char* words[] = {"install ", "the ",     "files ",   "into ",  "directory ",
                           "setup ",   "program ", "manager ", "group ", "\r\n"};
    writeFile(root / "manual.txt", 16ull << 20, [&](std::string& piece) {
        while (piece.size() < (1 << 20)) {
            piece += words[random() % 10];
        }
    });
    total += 16ull << 20;
    for (int i = 0; i < 300; ++i) {
        uint64_t size = 1000 + random() % 120000;
        writeFile(root / "parts" / ("part" + std::to_string(i) + ".dat"), size,
                  [&](std::string& piece) {
                      for (int j = 0; j < 4096; ++j) {
                          piece += char('a' + random() % 16);
                      }
                  });
        total += size;
    }
    return total;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs `phase` in a child process; returns its peak resident memory in KB, or -1.
long inChild(const std::function<int()>& phase) {
    pid_t child = fork();
    if (child == 0) {
        _exit(phase());
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

uint64_t treeBytes(const fsys::path& root) {
    uint64_t total = 0;
    for (const auto& entry : fsys::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

bool sameFiles(const fsys::path& a, const fsys::path& b) {
    std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
    std::vector<char> x(1 << 20), y(1 << 20);
    while (left && right) {
        left.read(x.data(), std::streamsize(x.size()));
        right.read(y.data(), std::streamsize(y.size()));
        if (left.gcount() != right.gcount() ||
            !std::equal(x.begin(), x.begin() + left.gcount(), y.begin())) {
            return false;
        }
    }
    return left.eof() && right.eof();
}

} // namespace

int main(int argc, char** argv) {
    fsys::path work = argc > 1 ? fsys::path(argv[1])
                               : fsys::temp_directory_path() /
                                     ("kestrel-archive-bench-" + std::to_string(getpid()));
    fsys::create_directories(work);
    fsys::path sources = work / "src", volumes = work / "vol", unpacked = work / "out";
    fsys::create_directories(volumes);
    fsys::create_directories(unpacked);
    uint64_t inputBytes = makeSources(sources);
    std::printf("input: %.1f MB in %zu files\n", double(inputBytes) / 1e6,
                size_t(std::distance(fsys::recursive_directory_iterator(sources),
                                     fsys::recursive_directory_iterator())) -
                    1);

    auto start = std::chrono::steady_clock::now();
    long buildPeak = inChild([&] {
        auto fs = os::makeNativeFileSystem();
        files::PackedArchiveWriter writer(
            *fs, {kVolumeSize, files::LiteralChoice::Auto, files::ImplodeDictionary::Size4096});
        files::ArchiveWriteError error;
        std::vector<fsys::path> found;
        for (const auto& entry : fsys::recursive_directory_iterator(sources)) {
            if (entry.is_regular_file()) {
                found.push_back(entry.path());
            }
        }
        std::sort(found.begin(), found.end());
        for (const fsys::path& file : found) {
            if (!writer.addMember(file.string(), file.lexically_relative(sources).string(),
                                  error)) {
                return 1;
            }
        }
        if (!writer.write((volumes / "BENCH.ARC").string(), error)) {
            std::fprintf(stderr, "archive_bench: %s: %s\n", error.file.c_str(),
                         error.message.c_str());
            return 1;
        }
        return 0;
    });
    double buildTime = seconds(start);
    uint64_t archiveBytes = treeBytes(volumes);
    size_t volumeCount =
        size_t(std::distance(fsys::directory_iterator(volumes), fsys::directory_iterator()));
    std::printf("build:   %.1f MB archive in %zu volumes, %.2f s, %.1f MB/s of input, peak RSS "
                "%.1f MB\n",
                double(archiveBytes) / 1e6, volumeCount, buildTime,
                double(inputBytes) / 1e6 / buildTime, double(buildPeak) / 1024);

    start = std::chrono::steady_clock::now();
    long extractPeak = inChild([&] {
        auto fs = os::makeNativeFileSystem();
        files::PackedFileLayer layer(*fs);
        files::PackedFileVolumes source(layer);
        Quiet quiet;
        files::PackedArchiveReader reader({source, *fs, quiet, quiet, quiet, quiet});
        return reader.unpackArchive((unpacked / "BENCH.ARC").string(),
                                    (volumes / "BENCH.ARC").string(), lexical::OverwriteMode::Yes,
                                    os::attributes::Normal) == files::UnpackResult::Done
                   ? 0
                   : 1;
    });
    double extractTime = seconds(start);
    long idlePeak = inChild([] { return 0; });

    bool intact = treeBytes(unpacked) == inputBytes;
    for (const auto& entry : fsys::recursive_directory_iterator(sources)) {
        if (intact && entry.is_regular_file()) {
            intact = sameFiles(entry.path(), unpacked / entry.path().lexically_relative(sources));
        }
    }
    std::printf("extract: %.2f s, %.1f MB/s of archive, %.1f MB/s of output, peak RSS %.1f MB "
                "(an idle child: %.1f MB)%s\n",
                extractTime, double(archiveBytes) / 1e6 / extractTime,
                double(inputBytes) / 1e6 / extractTime, double(extractPeak) / 1024,
                double(idlePeak) / 1024, intact ? "" : "  OUTPUT DIFFERS");
    if (argc <= 1) {
        fsys::remove_all(work);
    }
    return buildPeak < 0 || extractPeak < 0 || !intact ? 1 : 0;
}
