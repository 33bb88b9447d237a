// kst archive / kst list / kst extract: multi-volume packed archives.
#include "command.h"
#include "files/packed_archive_reader.h"
#include "files/packed_archive_writer.h"
#include "files/silent_progress.h"
#include "lexical/overwrite_mode.h"
#include "lexical/path_text.h"
#include "listing_format.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>

namespace kst {
namespace {

namespace files = kestrel::files;
namespace os = kestrel::os;
namespace fsys = std::filesystem;

// What installation lends the archive reader, answered at the terminal: volumes are taken
// from beside the first without asking, messages go to stderr, and the log lines are shown
// with -v.
class ConsoleServices final : public files::SilentProgress,
                              public files::NextDiskPrompt,
                              public files::InstallRecord,
                              public os::Prompts {
  public:
    ConsoleServices(os::FileSystem& fs, std::string directory, bool verbose)
        : fs_(fs), directory_(std::move(directory)), verbose_(verbose) {}

    bool askForNextDisk(bool firstRequest) override {
        if (!firstRequest) {
            fail(directory_ + nextVolume_, "the next volume of the archive cannot be opened");
        }
        return !firstRequest;
    }

    bool createDirectories(const std::string& directory) override {
        if (!fs_.createDirectories(directory)) {
            fail(directory, "cannot create the directory");
            return false;
        }
        return true;
    }
    void writeLogLine(const std::string& line) override {
        if (verbose_) {
            std::cerr << "kst: " << line << '\n';
        }
    }
    void setContinuationName(const std::string& name) override { nextVolume_ = name; }

    os::PromptResult messageBox(std::string_view text, std::string_view, uint32_t type) override {
        if ((type & 0x0F) != os::kMbYesNo) {
            std::cerr << "kst: " << text << '\n';
            return os::kIdOk;
        }
        std::cerr << text << " [y/N] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? os::kIdYes : os::kIdNo;
    }
    os::PromptResult showScreen(const os::ScreenDialog&) override { return os::kIdOk; }

  private:
    os::FileSystem& fs_;
    std::string directory_;
    std::string nextVolume_;
    bool verbose_;
};

std::string directoryOf(const std::string& path) {
    return std::string(kestrel::lexical::directoryPart(path));
}

// "1457664", "1440K", "2M".
std::optional<uint64_t> parseSize(const std::string& text) {
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 12 || text.size() > digits + 1) {
        return std::nullopt;
    }
    uint64_t value = std::stoull(text.substr(0, digits));
    if (digits < text.size()) {
        switch (text[digits]) {
        case 'k':
        case 'K':
            value *= 1024;
            break;
        case 'm':
        case 'M':
            value *= 1024 * 1024;
            break;
        default:
            return std::nullopt;
        }
    }
    return value;
}

// A file goes in under its own name; a directory with everything below it, under its name.
bool addInput(files::PackedArchiveWriter& writer, const std::string& input) {
    files::ArchiveWriteError error;
    std::error_code ec;
    fsys::path root(input);
    if (!fsys::is_directory(root, ec)) {
        if (!fsys::is_regular_file(root, ec)) {
            fail(input, "no such file or directory");
            return false;
        }
        if (!writer.addMember(input, root.filename().string(), error)) {
            fail(error.file, error.message);
            return false;
        }
        return true;
    }
    std::string base = root.lexically_normal().filename().string();
    if (base.empty()) {
        base = root.lexically_normal().parent_path().filename().string();
    }
    std::vector<fsys::path> found;
    for (auto it = fsys::recursive_directory_iterator(root, ec);
         !ec && it != fsys::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec)) {
            found.push_back(it->path());
        }
    }
    if (ec) {
        fail(input, "cannot read the directory: " + ec.message());
        return false;
    }
    std::sort(found.begin(), found.end());
    for (const fsys::path& file : found) {
        std::string relative = file.lexically_relative(root).generic_string();
        std::string name = base.empty() || base == "." ? relative : base + "/" + relative;
        if (!writer.addMember(file.string(), name, error)) {
            fail(error.file, error.message);
            return false;
        }
    }
    return true;
}

int archive(const std::string& output, const std::vector<std::string>& inputs,
            const std::string& volumeSize, files::LiteralChoice literals, bool verbose) {
    auto fs = os::makeNativeFileSystem();
    files::PackedArchiveOptions options;
    options.literals = literals;
    if (!volumeSize.empty()) {
        std::optional<uint64_t> size = parseSize(volumeSize);
        if (!size || *size == 0) {
            return fail(volumeSize, "not a volume size (bytes, or a number with K or M)");
        }
        options.maxVolumeSize = *size;
    }
    files::PackedArchiveWriter writer(*fs, options);
    for (const std::string& input : inputs) {
        if (!addInput(writer, input)) {
            return 1;
        }
    }
    files::ArchiveWriteError error;
    if (!writer.write(output, error)) {
        // Volumes of a failed archive are of no use; leave none behind.
        for (const std::string& path : writer.volumePaths()) {
            std::error_code ignored;
            fsys::remove(path, ignored);
        }
        return fail(error.file, error.message);
    }
    if (verbose) {
        for (const std::string& path : writer.volumePaths()) {
            std::cerr << "kst: wrote " << path << '\n';
        }
    }
    return 0;
}

int list(const std::string& first, bool verbose) {
    auto fs = os::makeNativeFileSystem();
    files::PackedFileLayer layer(*fs);
    files::PackedFileVolumes volumes(layer);
    ConsoleServices console(*fs, directoryOf(first), verbose);
    files::PackedArchiveReader reader({volumes, *fs, console, console, console, console});
    files::UnpackResult result =
        reader.listArchive(first, [&](const files::archive::MemberHeader& member) {
            std::cout << std::left << std::setw(12) << member.name.text << ' ' << std::right
                      << std::setw(10) << member.storedLength << ' ' << formatDosDate(member.date)
                      << ' ' << formatDosTime(member.time) << '\n';
        });
    if (result == files::UnpackResult::NotAnArchive) {
        return fail(first, "not the first volume of a packed archive");
    }
    return result == files::UnpackResult::Done ? 0 : 1;
}

int extract(const std::string& first, const std::string& directory, const std::string& overwrite,
            bool verbose) {
    auto mode = kestrel::lexical::overwriteModeFromWord(overwrite);
    if (!mode) {
        return fail(overwrite, "not an overwrite mode (yes, no, new or ask)");
    }
    auto fs = os::makeNativeFileSystem();
    if (!fs->createDirectories(directory)) {
        return fail(directory, "cannot create the directory");
    }
    files::PackedFileLayer layer(*fs);
    files::PackedFileVolumes volumes(layer);
    ConsoleServices console(*fs, directoryOf(first), verbose);
    files::PackedArchiveReader reader({volumes, *fs, console, console, console, console});
    std::string destination =
        directory + (directory.empty() ? "" : "/") + first.substr(directoryOf(first).size());
    files::UnpackResult result =
        reader.unpackArchive(destination, first, *mode, os::attributes::Normal);
    switch (result) {
    case files::UnpackResult::NotAnArchive:
        return fail(first, "not the first volume of a packed archive");
    case files::UnpackResult::Failed:
        return 1;
    case files::UnpackResult::Done:
        break;
    }
    if (reader.refusedMembers() > 0) {
        return fail(first, std::to_string(reader.refusedMembers()) +
                               " members not unpacked for their names");
    }
    return 0;
}

} // namespace

void addArchiveCommands(CLI::App& app, Session& session) {
    auto* archiveCommand = app.add_subcommand(
        "archive", "Build a packed archive, split into volumes named after the first");
    struct ArchiveArgs {
        std::string output;
        std::string volumeSize;
        bool ascii = false;
        bool binary = false;
        bool automatic = false;
        std::vector<std::string> inputs;
    };
    auto args = std::make_shared<ArchiveArgs>();
    archiveCommand
        ->add_option("-o,--output", args->output,
                     "The first volume (DEMO.ARC; the next are DEMO.A01, DEMO.A02, ...)")
        ->required();
    archiveCommand->add_option("--volume-size", args->volumeSize,
                               "Largest volume, in bytes or with K or M (1440K); the first "
                               "volume then needs an 8.3 name");
    auto* ascii =
        archiveCommand->add_flag("--ascii", args->ascii, "Coded literals for every file (text)");
    auto* binary =
        archiveCommand->add_flag("--binary", args->binary, "Plain literals for every file");
    auto* automatic = archiveCommand->add_flag(
        "--auto", args->automatic,
        "Coded literals for files that look like text, plain ones otherwise (default)");
    ascii->excludes(binary)->excludes(automatic);
    binary->excludes(automatic);
    archiveCommand
        ->add_option("inputs", args->inputs,
                     "Files (stored under their names) and directories (stored with everything "
                     "below them, under the directory's name)")
        ->required();
    archiveCommand->callback([&session, args] {
        files::LiteralChoice literals = args->ascii    ? files::LiteralChoice::Ascii
                                        : args->binary ? files::LiteralChoice::Binary
                                                       : files::LiteralChoice::Auto;
        session.exitCode =
            archive(args->output, args->inputs, args->volumeSize, literals, session.verbose);
    });

    auto* listCommand = app.add_subcommand("list", "List the members of a packed archive");
    auto listed = std::make_shared<std::string>();
    listCommand->add_option("archive", *listed, "The first volume")->required();
    listCommand->callback(
        [&session, listed] { session.exitCode = list(*listed, session.verbose); });

    auto* extractCommand = app.add_subcommand(
        "extract", "Unpack a packed archive, reading its volumes from beside the first");
    struct ExtractArgs {
        std::string archive;
        std::string directory = ".";
        std::string overwrite = "yes";
    };
    auto extractArgs = std::make_shared<ExtractArgs>();
    extractCommand->add_option("archive", extractArgs->archive, "The first volume")->required();
    extractCommand->add_option("-C,--directory", extractArgs->directory,
                               "Where to unpack (made if missing; default: here)");
    extractCommand->add_option("--overwrite", extractArgs->overwrite,
                               "Existing files: yes (replace, default), no, new (replace older) "
                               "or ask");
    extractCommand->callback([&session, extractArgs] {
        session.exitCode = extract(extractArgs->archive, extractArgs->directory,
                                   extractArgs->overwrite, session.verbose);
    });
}

} // namespace kst
