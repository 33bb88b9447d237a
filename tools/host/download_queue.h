// The browser's downloads: one at a time, in the order they were asked for, on a thread of
// their own, so that the window keeps painting and answering while a file arrives. Each file
// lands in a fresh folder under the session's temporary folder; what happens is posted to the
// browser's window as messages.
#pragma once

#include "download.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kestrel::host {

// Posted to the window; wParam is the request id. lParam: a DownloadHeaders* or a
// DownloadResult* that the window takes over (delete it), or the percentage.
constexpr UINT WM_DOWNLOAD_HEADERS = WM_APP + 10;
constexpr UINT WM_DOWNLOAD_PROGRESS = WM_APP + 11;
constexpr UINT WM_DOWNLOAD_DONE = WM_APP + 12;

class DownloadQueue {
  public:
    DownloadQueue(HWND window, std::string tempRoot);
    DownloadQueue(const DownloadQueue&) = delete;
    DownloadQueue& operator=(const DownloadQueue&) = delete;
    ~DownloadQueue();

    void enqueue(int id, std::string url);
    // Drops what is waiting and breaks off the transfer in progress; nothing more is posted.
    void cancelAll();
    // Cancels and waits up to `waitMs` for the download thread to end. False when a transfer
    // is stuck where it cannot be broken off (a server that never answers): the queue must
    // then outlive the session and go with the process.
    bool finish(unsigned waitMs);

  private:
    struct Request {
        int id;
        std::string url;
    };
    void run();
    void post(UINT message, int id, LPARAM payload);

    HWND window_;
    std::string tempRoot_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> waiting_;
    std::shared_ptr<Download> current_;
    bool stopping_ = false;
    bool exited_ = false;
    int folderNumber_ = 0;
    std::thread thread_;
};

// A fresh folder for one file: ROOT\N.
std::string makeDownloadFolder(const std::string& root, int& counter);

} // namespace kestrel::host
