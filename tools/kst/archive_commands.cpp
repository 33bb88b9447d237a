// kst archive / kst extract, and the archive half of kst list: multi-volume packed archives.
#include "command.h"
#include "files/packed_archive_reader.h"
#include "files/packed_archive_writer.h"
#include "files/silent_progress.h"
#include "lexical/message_texts.h"
#include "lexical/numbers.h"
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
namespace texts = kestrel::lexical::texts;

std::string directoryOf(const std::string& path) {
    return std::string(kestrel::lexical::directoryPart(path));
}

// The reader's messages are the installer's, meant for someone installing; kst says the same
// in its own words, about the file concerned (the one the message names, or the archive).
struct Rewording {
    std::string_view installerText; // what the message begins with; its subject follows
    std::string_view words;
    bool subjectIsFile; // otherwise the subject follows the words
};

constexpr Rewording kRewordings[] = {
    {texts::kNotFound, "cannot open the file", true},
    {texts::kReadingFileError, "cut short: the archive ends inside a member", true},
    {texts::kInvalidCompressedFile, "damaged: not a volume of a packed archive", true},
    {texts::kCannotCreateFile, "cannot create the file", true},
    {texts::kReadingDiskError, "cannot read the archive", true},
    {texts::kWritingDiskError, "cannot write an unpacked file", true},
    {texts::kRefusedMember, "member not unpacked: ", false},
    {texts::kNotEnoughMemory, "not enough memory", true},
};

// What installation lends the archive reader, answered at the terminal: volumes are taken
// from beside the first without asking, messages go to stderr in kst's words, and the log
// lines are shown with -v.
class ConsoleServices final : public files::SilentProgress,
                              public files::NextDiskPrompt,
                              public files::InstallRecord,
                              public os::Prompts {
  public:
    ConsoleServices(os::FileSystem& fs, std::string archive, bool verbose)
        : fs_(fs), archive_(std::move(archive)), directory_(directoryOf(archive_)),
          verbose_(verbose) {}

    // Whether a failure has been reported; the reader reports all but undecodable data.
    bool reported() const { return reported_; }

    bool askForNextDisk(bool firstRequest) override {
        if (!firstRequest)
            report(directory_ + nextVolume_, "the next volume of the archive cannot be opened");
        return !firstRequest;
    }

    bool createDirectories(const std::string& directory) override {
        if (fs_.createDirectories(directory))
            return true;
        report(directory, "cannot create the directory");
        return false;
    }
    void writeLogLine(const std::string& line) override {
        if (verbose_)
            std::cerr << "kst: " << line << '\n';
    }
    void setContinuationName(const std::string& name) override { nextVolume_ = name; }

    os::PromptResult messageBox(std::string_view text, std::string_view, uint32_t type) override {
        if ((type & 0x0F) == os::kMbYesNo) {
            // The file-exists question, asked with no text before the path.
            std::string path(text.substr(0, text.size() - (text.ends_with('?') ? 1 : 0)));
            std::cerr << "kst: " << path << ": the file exists; replace it? [y/N] " << std::flush;
            std::string answer;
            std::getline(std::cin, answer);
            return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? os::kIdYes
                                                                             : os::kIdNo;
        }
        for (const Rewording& rewording : kRewordings) {
            if (!text.starts_with(rewording.installerText))
                continue;
            const std::string subject(text.substr(rewording.installerText.size()));
            if (!rewording.subjectIsFile)
                report(archive_, std::string(rewording.words) + subject);
            else
                report(subject.empty() ? archive_ : subject, std::string(rewording.words));
            return os::kIdOk;
        }
        report(archive_, std::string(text));
        return os::kIdOk;
    }
    os::PromptResult showScreen(const os::ScreenDialog&) override { return os::kIdOk; }

  private:
    void report(const std::string& file, const std::string& message) {
        fail(file, message);
        reported_ = true;
    }

    os::FileSystem& fs_;
    std::string archive_;
    std::string directory_;
    std::string nextVolume_;
    bool verbose_;
    bool reported_ = false;
};

// "1457664", "1440K", "1.44M": a decimal number with a fraction only before a unit, and K and
// M as in a script's sizes (1,000 and 1,000,000), read by the same function.
std::optional<uint64_t> parseVolumeSize(const std::string& text) {
    const size_t digits = text.find_first_not_of("0123456789.");
    const std::string_view number = std::string_view(text).substr(0, digits);
    const std::string_view unit =
        digits == std::string::npos ? std::string_view() : std::string_view(text).substr(digits);
    if (number.empty() || unit.size() > 1 ||
        (unit.size() == 1 && std::string_view("KkMm").find(unit[0]) == std::string_view::npos) ||
        (unit.empty() && number.find('.') != std::string_view::npos))
        return std::nullopt;
    const auto size = kestrel::lexical::leadingSize(text);
    if (!size || !size->plain || size->value <= 0)
        return std::nullopt;
    return uint64_t(size->value);
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
    if (!volumeSize.empty())
        options.maxVolumeSize = *parseVolumeSize(volumeSize); // checked with the options
    files::PackedArchiveWriter writer(*fs, options);
    for (const std::string& input : inputs) {
        if (!addInput(writer, input))
            return kFailed;
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
        for (const std::string& path : writer.volumePaths())
            std::cerr << "kst: wrote " << path << '\n';
    }
    return 0;
}

// The end of a reading: success, or a failure that has been reported.
int outcome(files::UnpackResult result, const ConsoleServices& console, const std::string& first) {
    switch (result) {
    case files::UnpackResult::Done:
        return 0;
    case files::UnpackResult::NotAnArchive:
        return fail(first, "neither a packed installation file nor the first volume of a "
                           "packed archive");
    case files::UnpackResult::Failed:
        break;
    }
    return console.reported() ? kFailed : fail(first, "damaged: a member's data does not decode");
}

struct Reading {
    std::unique_ptr<os::FileSystem> fs = os::makeNativeFileSystem();
    files::PackedFileLayer layer{*fs};
    files::PackedFileVolumes volumes{layer};
    ConsoleServices console;
    files::PackedArchiveReader reader;

    Reading(const std::string& first, bool verbose)
        : console(*fs, first, verbose),
          reader({volumes, *fs, console, console, console, console, /*fileExistsText=*/""}) {}
};

int extract(const std::string& first, const std::string& directory,
            kestrel::lexical::OverwriteMode mode, bool verbose) {
    Reading reading(first, verbose);
    if (!reading.fs->createDirectories(directory))
        return fail(directory, "cannot create the directory");
    const std::string destination =
        directory + (directory.empty() ? "" : "/") + first.substr(directoryOf(first).size());
    const files::UnpackResult result =
        reading.reader.unpackArchive(destination, first, mode, os::attributes::Normal);
    if (const int failed = outcome(result, reading.console, first))
        return failed;
    if (reading.reader.refusedMembers() > 0)
        return fail(first, std::to_string(reading.reader.refusedMembers()) +
                               " members not unpacked for their names");
    return 0;
}

} // namespace

int listArchive(const std::string& first, bool verbose) {
    Reading reading(first, verbose);
    const files::UnpackResult result =
        reading.reader.listArchive(first, [&](const files::archive::MemberHeader& member) {
            std::cout << std::left << std::setw(12) << member.name.text << ' ' << std::right
                      << std::setw(10) << member.storedLength << ' ' << formatDosDate(member.date)
                      << ' ' << formatDosTime(member.time) << '\n';
        });
    return outcome(result, reading.console, first);
}

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
    archiveCommand
        ->add_option("--volume-size", args->volumeSize,
                     "Largest volume in bytes; K is 1,000 and M 1,000,000 as in scripts (1440K "
                     "fits a 1.44 MB floppy). The first volume then needs an 8.3 name")
        ->type_name("SIZE")
        ->check(valueIs("a size in bytes, or a number with K or M, such as 1440K",
                        [](const std::string& text) { return !!parseVolumeSize(text); }));
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
        ->add_option("INPUT", args->inputs,
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

    auto* extractCommand = app.add_subcommand(
        "extract", "Unpack a packed archive, reading its volumes from beside the first");
    struct ExtractArgs {
        std::string archive;
        std::string directory = ".";
        std::string overwrite = "yes";
    };
    auto extractArgs = std::make_shared<ExtractArgs>();
    extractCommand->add_option("ARCHIVE", extractArgs->archive, "The first volume")->required();
    auto* output = extractCommand->add_option("-o,--output", extractArgs->directory,
                                              "Where to unpack (made if missing; default: here)");
    output->type_name("DIR");
    // The earlier spelling, still taken.
    auto* directory = extractCommand->add_option("-C,--directory", extractArgs->directory);
    directory->group("");
    extractCommand
        ->add_option("--overwrite", extractArgs->overwrite,
                     "Existing files: yes (replace, default), no, new (replace older) or ask")
        ->type_name("WORD")
        ->check(valueIs("yes, no, new or ask", [](const std::string& text) {
            return kestrel::lexical::overwriteModeFromWord(text).has_value();
        }));
    extractCommand->callback([&session, extractArgs, output, directory] {
        if (output->count() > 0 && directory->count() > 0)
            throw CLI::ValidationError("--output", "given twice, as -o and -C");
        session.exitCode = extract(extractArgs->archive, extractArgs->directory,
                                   *kestrel::lexical::overwriteModeFromWord(extractArgs->overwrite),
                                   session.verbose);
    });
}

} // namespace kst
