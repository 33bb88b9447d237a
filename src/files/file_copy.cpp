#include "files/file_copy.h"

#include "files/version_compare.h"
#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"
#include "lexical/message_texts.h"
#include "lexical/path_text.h"
#include "os/read_fully.h"

#include <memory>
#include <vector>

namespace kestrel::files {
namespace {

namespace texts = lexical::texts;

// The message pump runs every this many blocks, so that Cancel works during a long copy.
constexpr int kBlocksPerPump = 4;

void showError(FileCopyContext& context, std::string_view text, std::string_view subject = {}) {
    context.prompts.messageBox(std::string(text) + std::string(subject), os::kDefaultCaption,
                               os::kMbOk | os::kMbIconExclamation);
}

// The extension of a file name: what follows its first dot.
std::string extensionOf(std::string_view path) {
    const std::string_view name = lexical::fileNamePart(path);
    const size_t dot = name.find('.');
    return dot == std::string_view::npos ? std::string()
                                         : lexical::asciiUpper(name.substr(dot + 1));
}

bool carriesVersion(std::string_view destination) {
    const std::string extension = extensionOf(destination);
    return extension == "DLL" || extension == "VBX" || extension == "OCX";
}

bool newerStamp(os::DosDateTime source, os::DosDateTime destination) {
    return source.date > destination.date ||
           (source.date == destination.date && source.time > destination.time);
}

// The destination exists: should it be replaced?
bool replaces(FileCopyContext& context, const std::string& destination, const std::string& source,
              lexical::OverwriteMode mode, os::DosDateTime sourceStamp) {
    switch (mode) {
    case lexical::OverwriteMode::Yes:
        return true;
    case lexical::OverwriteMode::Ask:
        return context.prompts.messageBox(context.fileExistsText + destination + "?", "",
                                          os::kMbYesNo | os::kMbIconQuestion) == os::kIdYes;
    case lexical::OverwriteMode::New:
        return newerThanDestination(context, destination, source, sourceStamp);
    case lexical::OverwriteMode::No:
        break;
    }
    return false;
}

// Writes the source's bytes into a new temporary file beside the destination; its path, or
// empty after a failure (the temporary file is gone again).
std::string writeTemporaryCopy(FileCopyContext& context, PackedFile& input,
                               const std::string& destination) {
    std::optional<os::UniqueFile> temporary =
        context.files.createUniqueFile(lexical::parentDirectory(destination), "kst");
    if (!temporary) {
        showError(context, texts::kCannotCreateFile, destination);
        return {};
    }
    const auto fail = [&](std::string_view message) {
        temporary->file.reset();
        context.files.deleteFile(temporary->path);
        if (!message.empty())
            showError(context, message);
        return std::string();
    };
    InstallProgress& progress = context.progress;
    progress.showCurrentFile(destination);
    int64_t lastReport = progress.bytesDone();
    std::vector<uint8_t> buffer(kCopyBlock);
    for (int blocks = 1;; ++blocks) {
        // Whole blocks however the source hands them out: a short read is not the end.
        const int64_t got = os::readFully(input, buffer.data(), kCopyBlock);
        if (got < 0)
            return fail(texts::kReadingDiskError);
        if (got > 0 && temporary->file->write(buffer.data(), uint32_t(got)) != int32_t(got))
            return fail(texts::kWritingDiskError);
        if (progress.countsBytes()) {
            progress.addBytesDone(uint32_t(got));
            if (progress.bytesDone() - lastReport > kProgressReportBytes) {
                progress.advance();
                lastReport = progress.bytesDone();
            }
        }
        if (got < int32_t(kCopyBlock))
            break;
        if (blocks % kBlocksPerPump == 0 && progress.pumpMessages())
            return fail({});
    }
    if (progress.countsBytes())
        progress.advance();
    temporary->file.reset();
    return temporary->path;
}

} // namespace

bool newerThanDestination(FileCopyContext& context, const std::string& destination,
                          const std::string& source, os::DosDateTime sourceStamp) {
    if (carriesVersion(destination)) {
        const auto sourceVersion = context.versions.versionString(source);
        const auto destinationVersion = context.versions.versionString(destination);
        if (sourceVersion && destinationVersion) {
            const int order = compareVersions(*sourceVersion, *destinationVersion);
            if (order != 0)
                return order > 0;
        }
    }
    const auto destinationStamp = context.files.readDosDateTime(destination);
    return !destinationStamp || newerStamp(sourceStamp, *destinationStamp);
}

CopyResult copyPlainFile(FileCopyContext& context, const std::string& destination,
                         const std::string& source, lexical::OverwriteMode mode,
                         uint32_t attributes) {
    std::unique_ptr<PackedFile> input = context.sources.open(source);
    if (!input) {
        showError(context, texts::kNotFound, source);
        return CopyResult::Failed;
    }
    const os::DosDateTime sourceStamp{input->dosDate(), input->dosTime()};
    // Existence by attributes: a file another program holds open still exists.
    const std::optional<uint32_t> existing = context.files.readAttributes(destination);
    if (existing && (*existing & os::attributes::Directory)) {
        showError(context, texts::kCannotCreateFile, destination);
        return CopyResult::Failed;
    }
    if (existing && !replaces(context, destination, source, mode, sourceStamp)) {
        if (context.progress.countsBytes()) {
            context.progress.addBytesDone(input->size());
            context.progress.advance();
        }
        return CopyResult::Done;
    }

    const std::string temporary = writeTemporaryCopy(context, *input, destination);
    if (temporary.empty())
        return CopyResult::Failed;
    input.reset();
    // The stamp only when the source had one: a stamp that cannot be converted sets nothing.
    if (sourceStamp.date != 0)
        context.files.setDosDateTime(temporary, sourceStamp);
    context.files.setAttributes(temporary, attributes);
    // A read-only destination would refuse to be replaced.
    if (existing)
        context.files.setAttributes(destination, os::attributes::Normal);
    if (!context.files.replaceFile(temporary, destination)) {
        if (existing)
            context.files.setAttributes(destination, *existing);
        context.files.setAttributes(temporary, os::attributes::Normal);
        context.files.deleteFile(temporary);
        showError(context, texts::kCannotCreateFile, destination);
        return CopyResult::Failed;
    }
    context.log.writeLogLine(lexical::logline::file(destination));
    return CopyResult::Done;
}

} // namespace kestrel::files
