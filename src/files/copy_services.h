// What installing a file needs from the rest of the installation: the progress display with
// its message pump, the disk prompt for an archive's next volume, and the records an
// uninstall relies on (created directories and installed files in the install log). The
// plug-in answers these through its window and its install log; kst and tests answer them
// directly.
#pragma once

#include <cstdint>
#include <string>

namespace kestrel::files {

class InstallProgress {
  public:
    virtual ~InstallProgress() = default;
    // Dispatches pending window messages; true once the user has cancelled.
    virtual bool pumpMessages() = 0;
    virtual void showCurrentFile(const std::string& path) = 0;
    // One step of the progress display (a file, or a share of bytes when bytes are counted).
    virtual void advance() = 0;
    // Whether progress is measured in bytes (a known byte total and no external unpacking).
    virtual bool countsBytes() const = 0;
    virtual int64_t bytesDone() const = 0;
    virtual void addBytesDone(uint64_t count) = 0;
};

class NextDiskPrompt {
  public:
    virtual ~NextDiskPrompt() = default;
    // Asks the user to make the next disk available: `firstRequest` for the first ask of a
    // volume, false when the volume could not be opened after the last ask. True when the
    // user gave up.
    virtual bool askForNextDisk(bool firstRequest) = 0;
};

class InstallRecord {
  public:
    virtual ~InstallRecord() = default;
    // Makes the missing levels of a directory path from its drive root, logging each one
    // made as a "DIRECTORY: " line. False after a failure, which it has reported.
    virtual bool createDirectories(const std::string& directory) = 0;
    // One install-log line, such as "FILE: \"C:\APP\A.EXE\"".
    virtual void writeLogLine(const std::string& line) = 0;
    // The file name of the archive volume last moved on to, so that a later entry naming
    // that volume is not installed again as a file of its own.
    virtual void setContinuationName(const std::string& name) = 0;
};

} // namespace kestrel::files
