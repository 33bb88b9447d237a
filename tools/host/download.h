// Fetches one URL into a file: http and https through WinINet, file: URLs and local paths
// directly. Runs on the download thread; the callbacks report to the browser's window.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include <windows.h>

namespace kestrel::host {

struct DownloadResult {
    enum class Kind {
        Complete, // the whole body is in `path`
        NotFound, // HTTP status 400 or more, or a missing local file
        Failed,   // no connection, a dropped connection, a body cut short, a write error
        Cancelled,
    };
    Kind kind = Kind::Failed;
    int httpStatus = 0;
    std::string path;
    std::string error; // for the host's own messages
};

struct DownloadHeaders {
    uint64_t length = 0;       // 0 when the server does not say
    uint32_t lastModified = 0; // seconds since 1970, 0 when unknown
    int httpStatus = 0;        // 0 for local files
};

struct DownloadCallbacks {
    std::function<void(const DownloadHeaders&)> headers; // once the source answered
    std::function<void(int percent)> progress;           // whenever the percentage changes
};

class Download {
  public:
    // Cancels from any thread: the transfer in progress stops at its next read.
    void cancel();
    bool cancelled() const { return cancelled_; }

    // Saves the source as `folder`\<its own name>, with the source's last-modified time as the
    // file's last-write time when the source gives one. A file cut short is removed.
    DownloadResult fetch(const std::string& url, const std::string& folder,
                         const DownloadCallbacks& callbacks);

  private:
    DownloadResult fetchWeb(const std::string& url, const std::string& target,
                            const DownloadCallbacks& callbacks);
    DownloadResult fetchLocal(const std::string& source, const std::string& target,
                              const DownloadCallbacks& callbacks);
    std::string saveBody(const std::function<bool(char*, DWORD, DWORD&)>& read,
                         const std::string& target, const std::string& source,
                         const DownloadCallbacks& callbacks, uint64_t length,
                         const FILETIME* modified, uint64_t& copied);

    std::atomic<bool> cancelled_{false};
    std::mutex handleMutex_;
    void* request_ = nullptr; // the open WinINet request, closed by cancel()
};

} // namespace kestrel::host
