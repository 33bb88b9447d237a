// install.log, the record an uninstall relies on. Logging is switched on by the script
// (UNINSTALL YES); the destination step gives the log its path. Every line is appended on its
// own, in one binary write (line feeds stay bare), and the file is closed again, so the log is
// valid up to the last change whatever happens later. Text that cannot be written yet (no path,
// or the folder does not exist yet) waits, however long it grows, and goes in front of the next
// line that can be written.
#pragma once

#include "lexical/install_log_sink.h"
#include "os/file_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::files {

class InstallLog final : public lexical::InstallLogSink {
  public:
    explicit InstallLog(os::FileSystem& files) : files_(files) {}

    void setLogging(bool on) { logging_ = on; }
    bool logging() const { return logging_; }
    void setPath(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }
    const std::string& pendingText() const { return pending_; }

    // Appends text and a line feed. True when it reached the file; false when logging is off
    // (the text is dropped) or the file cannot be written yet (the text waits, without its
    // line feed: a piece meant to wait ends in one itself).
    bool write(std::string_view text);
    bool writeLogLine(const std::string& line) override { return write(line); }
    // The DIRECTORY lines of the directories one call made, as one piece; none when it made
    // none.
    bool writeDirectories(const std::vector<std::string>& created);

  private:
    os::FileSystem& files_;
    bool logging_ = false;
    std::string path_;
    std::string pending_;
};

} // namespace kestrel::files
