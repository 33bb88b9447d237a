#include "sysedit/file_rewrite.h"

#include "lexical/path_text.h"
#include "os/read_fully.h"

#include <optional>

namespace kestrel::sysedit {

namespace {

using os::attributes::ReadOnly;

constexpr char kTemporaryStem[] = "~KST";

bool writeAll(os::OutputFile& file, std::string_view bytes) {
    constexpr size_t kChunk = 1u << 20;
    for (size_t at = 0; at < bytes.size(); at += kChunk) {
        const std::string_view piece = bytes.substr(at, kChunk);
        if (file.write(piece.data(), uint32_t(piece.size())) != int32_t(piece.size()))
            return false;
    }
    return true;
}

// The original as it stands; nothing when it exists but cannot be read.
std::optional<std::string> readOriginal(os::FileSystem& files, const std::string& path,
                                        std::optional<uint32_t> attributes) {
    if (!attributes)
        return std::string();
    if (*attributes & os::attributes::Directory)
        return std::nullopt;
    std::unique_ptr<os::InputFile> in = files.openForReading(path);
    return in ? os::readToEnd(*in) : std::nullopt;
}

// Keeps the original as the backup, replacing an older one (even a read-only one).
bool keepBackup(os::FileSystem& files, const std::string& path, const std::string& backup) {
    if (const std::optional<uint32_t> old = files.readAttributes(backup); old && (*old & ReadOnly))
        files.setAttributes(backup, *old & ~ReadOnly);
    return files.copyFile(path, backup);
}

// Puts bytes in place of path; the steps that can fail come before anything of the original
// is touched.
bool replaceContents(os::FileSystem& files, const RewriteTarget& target,
                     std::optional<uint32_t> attributes, std::string_view bytes) {
    std::optional<os::UniqueFile> temporary =
        files.createUniqueFile(lexical::parentDirectory(target.path), kTemporaryStem);
    if (!temporary)
        return false;
    const bool written = writeAll(*temporary->file, bytes);
    temporary->file.reset(); // closed before it is moved
    auto giveUp = [&] {
        files.deleteFile(temporary->path);
        return false;
    };
    if (!written)
        return giveUp();

    if (!target.backup.empty()) {
        if (attributes && !keepBackup(files, target.path, target.backup))
            return giveUp();
        if (!attributes)
            files.deleteFile(target.backup);
    }
    // A read-only file cannot be replaced; it gets its attributes back afterwards.
    if (attributes && (*attributes & ReadOnly))
        files.setAttributes(target.path, *attributes & ~ReadOnly);
    if (!files.replaceFile(temporary->path, target.path)) {
        if (attributes)
            files.setAttributes(target.path, *attributes);
        return giveUp();
    }
    if (attributes)
        files.setAttributes(target.path, *attributes);
    return true;
}

} // namespace

EditOutcome rewriteFile(EditServices& services, const RewriteTarget& target,
                        const Rewrite& rewrite) {
    auto fail = [&] {
        services.prompts.messageBox(std::string(kCannotChangeFile) + target.path,
                                    os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
        return EditOutcome::Failed;
    };
    const std::optional<uint32_t> attributes = services.files.readAttributes(target.path);
    const std::optional<std::string> original =
        readOriginal(services.files, target.path, attributes);
    if (!original)
        return fail();
    const TextRewrite result = rewrite(*original, attributes.has_value());
    if (result.text == *original)
        return EditOutcome::Unchanged;
    if (!target.question.empty() &&
        services.prompts.messageBox(target.question, "", os::kMbYesNo | os::kMbIconQuestion) ==
            os::kIdNo)
        return EditOutcome::Declined;
    if (!replaceContents(services.files, target, attributes, result.text))
        return fail();
    for (const std::string& line : result.logLines)
        services.log.writeLogLine(line);
    return EditOutcome::Changed;
}

} // namespace kestrel::sysedit
