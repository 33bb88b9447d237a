#include "files/copy_pipeline.h"

#include "files/fetched_volumes.h"
#include "files/file_copy.h"
#include "files/packed_archive_reader.h"
#include "lexical/ansi_text.h"
#include "lexical/path_text.h"

namespace kestrel::files {
namespace {

// The shell program that ran DOS unpackers; where it is still installed it runs them.
constexpr std::string_view kDosShell = "dosshell.pif";

bool isAbsolute(std::string_view path) {
    return (!path.empty() && path[0] == '\\') || (path.size() > 1 && path[1] == ':');
}

std::string withoutTrailingBackslash(std::string path) {
    const bool root = path == "\\" || (path.size() == 3 && path[1] == ':');
    if (!root && !path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

// A program that cannot be found makes the command interpreter exit with this code.
constexpr uint32_t kCommandNotFound = 9009;

} // namespace

std::string unpackerCommand(Archiver archiver, FileCompression compression,
                            lexical::OverwriteMode mode, const std::string& source,
                            const std::string& target) {
    const bool selfExtracting = compression == FileCompression::SelfExtract;
    if (archiver == Archiver::Lha) {
        const std::string program = selfExtracting                        ? ""
                                    : mode == lexical::OverwriteMode::Yes ? "lha x /c1 "
                                                                          : "lha x ";
        return program + source + " " + target + "\\";
    }
    const std::string option = mode == lexical::OverwriteMode::Yes   ? "-o "
                               : mode == lexical::OverwriteMode::New ? "-n "
                                                                     : "";
    return (selfExtracting ? "" : "pkunzip ") + source + " -d " + option + target + "\\";
}

std::string CopyPipeline::resolveSource(const FileEntry& entry, const std::string& fileName) const {
    std::string location;
    switch (entry.sourceKind) {
    case SourceKind::Local:
        location = entry.source;
        if (!location.empty() && location[0] == '$')
            location = lexical::allMacrosExpanded(location, settings_.macros);
        return lexical::joinPath(location, fileName);
    case SourceKind::ServerRoot:
        return settings_.serverRoot + entry.source + "\\" + fileName;
    case SourceKind::Url:
        return entry.source + "\\" + fileName;
    case SourceKind::ScriptDirectory:
        break;
    }
    location = settings_.macros.sourceDir();
    if (entry.hasSource)
        location += entry.source;
    return lexical::joinPath(location, fileName);
}

InstallResult CopyPipeline::installEntry(FileEntry& entry, std::string& deliveredPath) {
    entry.name = lexical::allMacrosExpanded(entry.name, settings_.macros);
    const std::string directoryPart(lexical::directoryPart(entry.name));
    const std::string fileName = entry.name.substr(directoryPart.size());

    // A volume already read with an earlier archive: nothing to fetch, nothing to install.
    if (volumesRead_.count(lexical::asciiUpper(fileName))) {
        deliveredPath.clear();
        return InstallResult::Done;
    }
    if (entry.sourceKind != SourceKind::Local && deliveredPath.empty()) {
        services_.remote.requestFile(resolveSource(entry, fileName));
        return InstallResult::Waiting;
    }
    const std::string delivered = deliveredPath;
    deliveredPath.clear();

    const std::string& destination = settings_.macros.defaultDir();
    std::string target = destination;
    if (!directoryPart.empty()) {
        bool made = false;
        if (isAbsolute(directoryPart)) {
            target = withoutTrailingBackslash(directoryPart);
            made = services_.directories.make(target);
        } else {
            target = lexical::joinPath(destination, withoutTrailingBackslash(directoryPart));
            made = services_.directories.make(target, lexical::joinPath(destination, "").size());
        }
        if (!made)
            return InstallResult::Abort;
    }
    return unpackOrCopy(entry, fileName, target, delivered);
}

InstallResult CopyPipeline::unpackOrCopy(const FileEntry& entry, const std::string& fileName,
                                         const std::string& target,
                                         const std::string& deliveredPath) {
    const std::string source =
        deliveredPath.empty() ? resolveSource(entry, fileName) : deliveredPath;
    if (entry.compression == FileCompression::None) {
        const std::string remoteLocation =
            deliveredPath.empty() ? std::string() : resolveSource(entry, fileName);
        if (!copyFile(entry, lexical::joinPath(target, fileName), source, remoteLocation))
            return InstallResult::Abort;
    } else if (runUnpacker(entry, source, target) != InstallResult::Done) {
        return InstallResult::Abort;
    }
    services_.progress.advance();
    return InstallResult::Done;
}

InstallResult CopyPipeline::runUnpacker(const FileEntry& entry, const std::string& source,
                                        const std::string& target) {
    const std::string command =
        unpackerCommand(settings_.archiver, entry.compression, entry.overwrite, source, target);
    std::optional<uint32_t> exitCode;
    std::string dosShell;
    for (const std::string& folder :
         {settings_.macros.windowsDir(), settings_.macros.systemDir()}) {
        const std::string candidate = lexical::joinPath(folder, kDosShell);
        if (!folder.empty() && services_.files.readAttributes(candidate))
            dosShell = candidate;
    }
    if (!dosShell.empty())
        exitCode = services_.processes.runAndWait(dosShell + " /C " + command);
    else
        exitCode = services_.processes.runInShellAndWait(command);
    // Whether the unpacker succeeded is its own business; that it never ran is ours.
    if (!exitCode || (dosShell.empty() && *exitCode == kCommandNotFound)) {
        services_.prompts.messageBox(std::string(kUnpackerNotStarted) + command,
                                     os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
        return InstallResult::Abort;
    }
    return InstallResult::Done;
}

bool CopyPipeline::copyFile(const FileEntry& entry, const std::string& destination,
                            const std::string& source, const std::string& remoteLocation) {
    PackedFileVolumes localVolumes(services_.sources);
    FetchedVolumes fetched(services_.sources, services_.remote, source, remoteLocation);
    const bool fromWeb = !remoteLocation.empty();
    PackedArchiveReader archive(
        PackedArchiveContext{fromWeb ? static_cast<ArchiveVolumeSource&>(fetched) : localVolumes,
                             services_.files, services_.prompts, services_.progress,
                             fromWeb ? static_cast<NextDiskPrompt&>(fetched) : services_.disks,
                             *this, settings_.fileExistsText});
    switch (archive.unpackArchive(destination, source, entry.overwrite, entry.attributes)) {
    case UnpackResult::Done:
        return true;
    case UnpackResult::Failed:
        return false;
    case UnpackResult::NotAnArchive:
        break;
    }
    FileCopyContext context{services_.files,         services_.prompts,  services_.versions,
                            services_.sources,       services_.progress, services_.log,
                            settings_.fileExistsText};
    return copyPlainFile(context, destination, source, entry.overwrite, entry.attributes) ==
           CopyResult::Done;
}

bool CopyPipeline::createDirectories(const std::string& directory) {
    return services_.directories.make(withoutTrailingBackslash(directory));
}

void CopyPipeline::writeLogLine(const std::string& line) {
    services_.log.writeLogLine(line);
}

void CopyPipeline::setContinuationName(const std::string& name) {
    volumesRead_.insert(lexical::asciiUpper(name));
}

} // namespace kestrel::files
