#include "download_queue.h"

#include <chrono>

namespace kestrel::host {

std::string makeDownloadFolder(const std::string& root, int& counter) {
    CreateDirectoryA(root.c_str(), nullptr);
    while (true) {
        std::string folder = root + "\\" + std::to_string(++counter);
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
}

DownloadQueue::DownloadQueue(HWND window, std::string tempRoot)
    : window_(window), tempRoot_(std::move(tempRoot)), thread_([this] { run(); }) {}

DownloadQueue::~DownloadQueue() {
    cancelAll();
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool DownloadQueue::finish(unsigned waitMs) {
    cancelAll();
    wake_.notify_all();
    std::unique_lock lock(mutex_);
    if (!wake_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return exited_; })) {
        return false;
    }
    lock.unlock();
    thread_.join();
    return true;
}

void DownloadQueue::enqueue(int id, std::string url) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        waiting_.push_back(Request{id, std::move(url)});
    }
    wake_.notify_all();
}

void DownloadQueue::cancelAll() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
    if (current_) {
        current_->cancel();
    }
}

void DownloadQueue::post(UINT message, int id, LPARAM payload) {
    {
        std::lock_guard lock(mutex_);
        if (!stopping_ && PostMessageW(window_, message, WPARAM(id), payload)) {
            return;
        }
    }
    if (message == WM_DOWNLOAD_HEADERS) {
        delete reinterpret_cast<DownloadHeaders*>(payload);
    } else if (message == WM_DOWNLOAD_DONE) {
        delete reinterpret_cast<DownloadResult*>(payload);
    }
}

void DownloadQueue::run() {
    while (true) {
        Request request;
        std::shared_ptr<Download> download = std::make_shared<Download>();
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
            if (stopping_) {
                exited_ = true;
                wake_.notify_all();
                return;
            }
            request = std::move(waiting_.front());
            waiting_.pop_front();
            current_ = download;
        }
        DownloadCallbacks callbacks;
        callbacks.headers = [&](const DownloadHeaders& headers) {
            post(WM_DOWNLOAD_HEADERS, request.id, LPARAM(new DownloadHeaders(headers)));
        };
        callbacks.progress = [&](int percent) {
            post(WM_DOWNLOAD_PROGRESS, request.id, LPARAM(percent));
        };
        std::string folder = makeDownloadFolder(tempRoot_, folderNumber_);
        auto result = std::make_unique<DownloadResult>();
        if (folder.empty()) {
            result->error = "cannot create a temporary folder under " + tempRoot_;
        } else {
            *result = download->fetch(request.url, folder, callbacks);
        }
        {
            std::lock_guard lock(mutex_);
            current_.reset();
        }
        post(WM_DOWNLOAD_DONE, request.id, LPARAM(result.release()));
    }
}

} // namespace kestrel::host
