#include "download.h"

#include "url_text.h"
#include "win32_util.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace kestrel::host {
namespace {

constexpr DWORD kTimeoutMs = 30000; // no answer for this long ends a transfer
constexpr size_t kChunk = 64 * 1024;

struct InternetHandleCloser {
    void operator()(void* h) const { InternetCloseHandle(HINTERNET(h)); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

uint32_t unixSeconds(const FILETIME& time) {
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    constexpr uint64_t kEpoch = 116444736000000000ULL; // 1970-01-01 in 100 ns since 1601
    return value.QuadPart < kEpoch ? 0 : uint32_t((value.QuadPart - kEpoch) / 10000000ULL);
}

// Reports percentages only when they change, so the status window repaints once per step.
class ProgressReporter {
  public:
    ProgressReporter(const DownloadCallbacks& callbacks, uint64_t total)
        : callbacks_(callbacks), total_(total) {
        report(0);
    }
    void advance(uint64_t done) {
        if (total_ > 0) {
            report(int(std::min<uint64_t>(100, done * 100 / total_)));
        }
    }
    void finish() { report(100); }

  private:
    void report(int percent) {
        if (percent != last_ && callbacks_.progress) {
            last_ = percent;
            callbacks_.progress(percent);
        }
    }
    const DownloadCallbacks& callbacks_;
    uint64_t total_;
    int last_ = -1;
};

DownloadResult failed(std::string error) {
    DownloadResult result;
    result.kind = DownloadResult::Kind::Failed;
    result.error = std::move(error);
    return result;
}

} // namespace

void Download::cancel() {
    cancelled_ = true;
    std::lock_guard lock(handleMutex_);
    if (request_ != nullptr) {
        InternetCloseHandle(HINTERNET(request_));
        request_ = nullptr;
    }
}

DownloadResult Download::fetch(const std::string& url, const std::string& folder,
                               const DownloadCallbacks& callbacks) {
    std::string target = folder + "\\" + fileNameFromUrl(url);
    DownloadResult result;
    if (isWebUrl(url)) {
        result = fetchWeb(url, target, callbacks);
    } else if (std::optional<std::string> path = fileUrlToPath(url)) {
        result = fetchLocal(*path, target, callbacks);
    } else if (urlScheme(url).empty()) {
        result = fetchLocal(url, target, callbacks);
    } else {
        result = failed("unsupported address: " + url);
    }
    if (cancelled_) {
        result.kind = DownloadResult::Kind::Cancelled;
    }
    if (result.kind == DownloadResult::Kind::Complete) {
        result.path = target;
    } else {
        DeleteFileA(target.c_str());
    }
    return result;
}

// Writes what `read` gives into a new file until it gives nothing. The source's date, when
// given, becomes the file's last-write time. Returns an error text, empty on success.
std::string Download::saveBody(const std::function<bool(char*, DWORD, DWORD&)>& read,
                               const std::string& target, const std::string& source,
                               const DownloadCallbacks& callbacks, uint64_t length,
                               const FILETIME* modified, uint64_t& copied) {
    FileHandle file(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return "cannot create " + target + ": " + lastErrorText();
    }
    ProgressReporter progress(callbacks, length);
    std::vector<char> buffer(kChunk);
    while (true) {
        DWORD got = 0;
        if (cancelled_ || !read(buffer.data(), DWORD(buffer.size()), got)) {
            return "reading " + source + " broke off: " + lastErrorText();
        }
        if (got == 0) {
            break;
        }
        DWORD written = 0;
        if (!WriteFile(file.get(), buffer.data(), got, &written, nullptr) || written != got) {
            return "cannot write " + target + ": " + lastErrorText();
        }
        copied += got;
        progress.advance(copied);
    }
    if (modified != nullptr) {
        SetFileTime(file.get(), nullptr, nullptr, modified);
    }
    if (length == 0 || copied == length) {
        progress.finish();
    }
    return {};
}

DownloadResult Download::fetchWeb(const std::string& url, const std::string& target,
                                  const DownloadCallbacks& callbacks) {
    InternetHandle session(
        InternetOpenA("Kestrel-Host/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        return failed("cannot start WinINet: " + lastErrorText());
    }
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT}) {
        DWORD timeout = kTimeoutMs;
        InternetSetOptionA(session.get(), option, &timeout, sizeof timeout);
    }
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_PRAGMA_NOCACHE;
    HINTERNET request = InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0, flags, 0);
    if (request == nullptr) {
        return failed("cannot reach " + url + ": " + lastErrorText());
    }
    {
        std::lock_guard lock(handleMutex_);
        if (cancelled_) {
            InternetCloseHandle(request);
            return failed("cancelled");
        }
        request_ = request;
    }
    // From here on cancel() may close the request at any moment; the reads then fail.
    struct Release {
        Download* self;
        ~Release() {
            std::lock_guard lock(self->handleMutex_);
            if (self->request_ != nullptr) {
                InternetCloseHandle(HINTERNET(self->request_));
                self->request_ = nullptr;
            }
        }
    } release{this};

    DownloadHeaders headers;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr) ||
        status < 100 || status > 599) {
        return failed("no HTTP answer from " + url);
    }
    headers.httpStatus = int(status);
    char text[64] = {};
    size = sizeof text - 1;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        headers.length = std::strtoull(text, nullptr, 10);
    }
    SYSTEMTIME modified{};
    size = sizeof modified;
    FILETIME modifiedTime{};
    bool haveModified =
        HttpQueryInfoA(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &modified,
                       &size, nullptr) &&
        SystemTimeToFileTime(&modified, &modifiedTime);
    if (haveModified) {
        headers.lastModified = unixSeconds(modifiedTime);
    }
    if (callbacks.headers) {
        callbacks.headers(headers);
    }
    DownloadResult result;
    result.httpStatus = headers.httpStatus;
    if (headers.httpStatus >= 400) {
        result.kind = DownloadResult::Kind::NotFound;
        result.error = "HTTP status " + std::to_string(headers.httpStatus) + " for " + url;
        return result;
    }

    uint64_t received = 0;
    std::string error = saveBody(
        [&](char* buffer, DWORD size, DWORD& got) {
            return InternetReadFile(request, buffer, size, &got) != FALSE;
        },
        target, url, callbacks, headers.length, haveModified ? &modifiedTime : nullptr, received);
    if (error.empty() && headers.length != 0 && received != headers.length) {
        error = "transfer of " + url + " ended after " + std::to_string(received) + " of " +
                std::to_string(headers.length) + " bytes";
    }
    if (!error.empty()) {
        return failed(error);
    }
    result.kind = DownloadResult::Kind::Complete;
    return result;
}

DownloadResult Download::fetchLocal(const std::string& source, const std::string& target,
                                    const DownloadCallbacks& callbacks) {
    FileHandle in(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in.valid()) {
        DWORD error = GetLastError();
        DownloadResult result = failed("cannot open " + source + ": " + lastErrorText(error));
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            result.kind = DownloadResult::Kind::NotFound;
        }
        return result;
    }
    LARGE_INTEGER length{};
    FILETIME modified{};
    GetFileSizeEx(in.get(), &length);
    GetFileTime(in.get(), nullptr, nullptr, &modified);
    DownloadHeaders headers;
    headers.length = uint64_t(length.QuadPart);
    headers.lastModified = unixSeconds(modified);
    if (callbacks.headers) {
        callbacks.headers(headers);
    }
    uint64_t copied = 0;
    std::string error = saveBody(
        [&](char* buffer, DWORD size, DWORD& got) {
            return ReadFile(in.get(), buffer, size, &got, nullptr) != FALSE;
        },
        target, source, callbacks, headers.length, &modified, copied);
    if (!error.empty()) {
        return failed(error);
    }
    DownloadResult result;
    result.kind = DownloadResult::Kind::Complete;
    return result;
}

} // namespace kestrel::host
