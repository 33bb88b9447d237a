// Install entry: what happens to one selected FILE entry. Its name's macros are expanded; a
// file that does not come from a local path is asked of the server first (the call ends
// "waiting" and is made again with the delivered file); its directories are made; then it is
// copied (or, when it is a packed archive, unpacked) under its overwrite mode, or handed to an
// external unpacker.
//
// Where a file comes from, by the entry's source kind (the address is built at any length):
//   none or relative   the script's web directory [+ the source], a backslash, the name
//   server root        the server root, the source, a backslash, the name
//   full URL           the source, a backslash, the name
//   local              the source (a leading macro expanded), a backslash, the name
#pragma once

#include "files/copy_services.h"
#include "files/directory_maker.h"
#include "files/file_entry.h"
#include "files/packed_file.h"
#include "lexical/install_log_sink.h"
#include "lexical/macros.h"
#include "os/file_system.h"
#include "os/file_version.h"
#include "os/processes.h"
#include "os/prompts.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace kestrel::files {

enum class InstallResult : int32_t { Done = 0, Abort = 1, Waiting = 2 };

// The external archiver of COMPRESSED files.
enum class Archiver : int32_t { Pkware = 0, Lha = 1 };

// What the pipeline asks of the browser.
class RemoteFiles {
  public:
    virtual ~RemoteFiles() = default;
    // Asks for the file at location (backslashes allowed); the installation goes on when it
    // is delivered.
    virtual void requestFile(const std::string& location) = 0;
    // Fetches the file at location before returning, handling window messages meanwhile: its
    // local path, or nothing when it could not be had (the user has been told why).
    virtual std::optional<std::string> fetchNow(const std::string& location) = 0;
};

struct PipelineServices {
    os::FileSystem& files;
    os::Prompts& prompts;
    os::FileVersionReader& versions;
    os::Processes& processes;
    PackedFileLayer& sources;
    InstallProgress& progress;
    NextDiskPrompt& disks; // an archive's next volume from a local drive
    DirectoryMaker& directories;
    lexical::InstallLogSink& log;
    RemoteFiles& remote;
};

// Installation values the pipeline reads when it runs; the script may have changed them.
struct PipelineSettings {
    const lexical::MacroVariables& macros; // $DEFAULTDIR$, $SOURCEDIR$ and the rest
    const std::string& serverRoot;
    const Archiver& archiver;
    const std::string& fileExistsText;
};

// Shown, with the command after it, when an external unpacker cannot be started.
inline constexpr std::string_view kUnpackerNotStarted = "The unpacker could not be started: ";

class CopyPipeline final : private InstallRecord {
  public:
    CopyPipeline(PipelineServices services, PipelineSettings settings)
        : services_(services), settings_(settings) {}

    // deliveredPath: the file the browser delivered for this entry, or empty; it is emptied
    // once used.
    InstallResult installEntry(FileEntry& entry, std::string& deliveredPath);

    // The source location of fileName for the entry.
    std::string resolveSource(const FileEntry& entry, const std::string& fileName) const;

  private:
    InstallResult unpackOrCopy(const FileEntry& entry, const std::string& fileName,
                               const std::string& target, const std::string& deliveredPath);
    InstallResult runUnpacker(const FileEntry& entry, const std::string& source,
                              const std::string& target);
    // Copy file: a packed archive is unpacked, anything else copied.
    bool copyFile(const FileEntry& entry, const std::string& destination, const std::string& source,
                  const std::string& remoteLocation);

    // InstallRecord, for the archive reader.
    bool createDirectories(const std::string& directory) override;
    void writeLogLine(const std::string& line) override;
    void setContinuationName(const std::string& name) override;

    PipelineServices services_;
    PipelineSettings settings_;
    // Every archive volume read so far (in capitals): its own FILE entry is passed over.
    std::set<std::string> volumesRead_;
};

// The fixed command line of an external unpacker, after its "dosshell.pif /C " start.
std::string unpackerCommand(Archiver archiver, FileCompression compression,
                            lexical::OverwriteMode mode, const std::string& source,
                            const std::string& target);

} // namespace kestrel::files
