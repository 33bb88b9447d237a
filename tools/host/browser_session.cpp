#include "browser_session.h"

#include "ascii_case.h"
#include "page_embed.h"
#include "url_text.h"
#include "win32_util.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kestrel::host {
namespace {

constexpr const char* kScriptMimeType = "application/x-Kestrel";
constexpr const char* kDownloadMimeType = "application/octet-stream";
constexpr size_t kWriteChunk = 64 * 1024;
constexpr size_t kLargestPage = 8 * 1024 * 1024;
constexpr unsigned kDownloadStopMs = 3000;

// Private messages of the frame, beside the download queue's.
constexpr UINT WM_HOST_LEAVE = WM_APP + 1;   // leave the page once no plug-in call runs
constexpr UINT WM_HOST_RESUME = WM_APP + 2;  // carry out what waited for a plug-in call to end
constexpr UINT WM_HOST_TIMEOUT = WM_APP + 3; // the time limit has passed

std::string hostFolder() {
    char path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string makeTempRoot() {
    char temp[MAX_PATH * 2] = {};
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "kestrel-host-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount());
}

bool readFile(const std::string& path, std::string& text, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text.assign(limit, '\0');
    in.read(text.data(), std::streamsize(limit));
    text.resize(size_t(in.gcount()));
    return true;
}

NPReason reasonFor(const DownloadResult& result) {
    switch (result.kind) {
    case DownloadResult::Kind::Complete:
    case DownloadResult::Kind::NotFound:
        return NPRES_DONE;
    case DownloadResult::Kind::Failed:
        return NPRES_NETWORK_ERR;
    case DownloadResult::Kind::Cancelled:
        return NPRES_USER_BREAK;
    }
    return NPRES_NETWORK_ERR;
}

} // namespace

BrowserSession::BrowserSession(HostOptions options)
    : options_(std::move(options)),
      pluginPath_(options_.plugin.empty() ? hostFolder() + "npkestrel.dll" : options_.plugin),
      tempRoot_(makeTempRoot()), frame_(*this) {
    instance_.ndata = this;
}

BrowserSession::~BrowserSession() {
    finish();
}

int BrowserSession::run() {
    std::string error;
    if (!start(error)) {
        std::fprintf(stderr, "kestrel-host: %s\n", error.c_str());
        finish();
        return kExitCannotStart;
    }
    loop();
    finish();
    return exitCode();
}

template <typename Call> auto BrowserSession::callPlugin(Call call) {
    struct Depth {
        BrowserSession* self;
        explicit Depth(BrowserSession* s) : self(s) { ++self->depth_; }
        ~Depth() {
            --self->depth_;
            self->afterPluginCall();
        }
    } depth(this);
    return call();
}

void BrowserSession::afterPluginCall() {
    if (depth_ == 0 && !left_ && (leave_ != Leave::None || !pending_.empty() || resizePending_)) {
        PostMessageA(frame_.frame(), WM_HOST_RESUME, 0, 0);
    }
}

bool BrowserSession::checkPlugin(std::string& error) {
    if (GetFileAttributesA(pluginPath_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = "cannot find the plug-in " + pluginPath_;
        return false;
    }
    std::vector<std::string> types = pluginMimeTypes(pluginPath_);
    if (types.empty()) {
        error = pluginPath_ + " is not a plug-in: its version resource has no MIMEType";
        return false;
    }
    auto match = std::find_if(types.begin(), types.end(), [](const std::string& t) {
        return equalsNoCase(t, kScriptMimeType);
    });
    if (match == types.end()) {
        error = pluginPath_ + " does not handle " + kScriptMimeType + " (its MIMEType is " +
                types.front() + ")";
        return false;
    }
    mimeType_ = *match;
    return true;
}

bool BrowserSession::start(std::string& error) {
    WatcherOptions watch;
    watch.transcriptPath = options_.transcript;
    watch.screenshotsDir = options_.screenshots;
    if (!options_.answers.empty()) {
        std::string text;
        if (!readFile(options_.answers, text, 1 << 20)) {
            error = "cannot read the answers file " + options_.answers;
            return false;
        }
        AnswerRulesResult rules = parseAnswerRules(text);
        if (!rules.error.empty()) {
            error = options_.answers + ":" + rules.error;
            return false;
        }
        watch.rules = std::move(rules.rules);
    }
    if (!options_.screenshots.empty() && !CreateDirectoryA(options_.screenshots.c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        error = "cannot create the screenshot folder " + options_.screenshots;
        return false;
    }
    if (!options_.baseUrl.empty() && urlScheme(options_.baseUrl).empty()) {
        error = "--base-url needs a URL (http://, https:// or file:), not " + options_.baseUrl;
        return false;
    }
    watcher_ = std::make_unique<WindowWatcher>(std::move(watch));
    if (!checkPlugin(error) || !watcher_->openTranscript(error) || !fetchScript(error)) {
        return false;
    }
    if (!frame_.create("Kestrel")) {
        error = "cannot create the browser window: " + lastErrorText();
        return false;
    }
    watcher_->start();
    downloads_ = std::make_unique<DownloadQueue>(frame_.frame(), tempRoot_);
    if (!startPlugin(error)) {
        return false;
    }
    frame_.show();
    setWindow();
    if (!deliverFirstStream(error)) {
        return false;
    }
    if (options_.timeoutSeconds) {
        watchdog_.start(*options_.timeoutSeconds, frame_.frame(), WM_HOST_TIMEOUT);
    }
    return true;
}

bool BrowserSession::fetchScript(std::string& error) {
    std::string url = options_.target;
    if (urlScheme(url).empty()) {
        char full[MAX_PATH * 4] = {};
        if (GetFullPathNameA(url.c_str(), sizeof full, full, nullptr) == 0) {
            error = "bad path " + url;
            return false;
        }
        url = pathToFileUrl(full);
    } else if (!isWebUrl(url) && urlScheme(url) != "file") {
        error = "cannot open " + url + ": only http, https and file addresses are served";
        return false;
    }
    auto fetch = [&](const std::string& address, DownloadResult& result) {
        std::string folder = makeDownloadFolder(tempRoot_, folderNumber_);
        Download download;
        DownloadCallbacks callbacks;
        callbacks.headers = [&](const DownloadHeaders& headers) { scriptHeaders_ = headers; };
        result = folder.empty() ? DownloadResult{} : download.fetch(address, folder, callbacks);
        if (result.kind != DownloadResult::Kind::Complete) {
            error = "cannot fetch " + address + ": " +
                    (result.error.empty() ? "no temporary folder" : result.error);
            return false;
        }
        return true;
    };
    DownloadResult result;
    if (!fetch(url, result)) {
        return false;
    }
    documentUrl_ = url;
    std::string path = url.substr(0, url.find_first_of("?#"));
    bool namedScript = endsWithNoCase(path, ".kst");
    std::string page;
    if (!namedScript && readFile(result.path, page, kLargestPage) && looksLikeHtml(page)) {
        std::optional<EmbeddedScript> embedded = findEmbeddedScript(page, url, kScriptMimeType);
        if (!embedded) {
            error = url + " has no <embed> or <object> of type " + kScriptMimeType +
                    " or with a .kst source";
            return false;
        }
        tagAttributes_ = embedded->attributes;
        mode_ = NP_EMBED;
        url = embedded->url;
        if (!fetch(url, result)) {
            return false;
        }
    }
    scriptUrl_ = options_.baseUrl.empty() ? url : options_.baseUrl;
    if (!options_.baseUrl.empty()) {
        documentUrl_ = options_.baseUrl;
    }
    scriptPath_ = result.path;
    return true;
}

bool BrowserSession::startPlugin(std::string& error) {
    setBrowserServices(this);
    browserFuncs_ = makeBrowserFuncs();
    if (!library_.start(pluginPath_, &browserFuncs_, error)) {
        return false;
    }
    for (auto& [name, value] : tagAttributes_) {
        argn_.push_back(name.data());
        argv_.push_back(value.data());
    }
    int16_t argc = int16_t(std::min<size_t>(argn_.size(), INT16_MAX));
    NPError result = callPlugin([&] {
        return library_.funcs().newp(mimeType_.data(), &instance_, mode_, argc, argn_.data(),
                                     argv_.data(), nullptr);
    });
    if (result != NPERR_NO_ERROR) {
        error = "NPP_New failed with NPError " + std::to_string(result);
        return false;
    }
    instanceAlive_ = true;
    return true;
}

bool BrowserSession::deliverFirstStream(std::string& error) {
    Stream& stream = addStream(scriptUrl_, mimeType_);
    if (!openStream(stream, scriptHeaders_)) {
        streams_.erase(stream.id);
        error = "the plug-in refused the script stream";
        return false;
    }
    pushData(stream, scriptPath_);
    DownloadResult complete;
    complete.kind = DownloadResult::Kind::Complete;
    complete.path = scriptPath_;
    int id = stream.id;
    endStream(stream, &complete, NPRES_DONE);
    streams_.erase(id);
    watcher_->pluginWindowShown(frame_.pluginArea());
    return true;
}

void BrowserSession::loop() {
    MSG message;
    while (!finished_) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            // Someone posted WM_QUIT: the browser is closing.
            if (leave_ == Leave::None) {
                leave_ = Leave::ByUser;
            }
            leaveNow();
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void BrowserSession::finish() {
    if (instanceAlive_ && !left_) {
        if (leave_ == Leave::None) {
            leave_ = Leave::ByUser;
        }
        leaveNow();
    }
    if (downloads_ && !downloads_->finish(kDownloadStopMs)) {
        (void)downloads_.release(); // ends with the process
    }
    downloads_.reset();
    // The page's windows go before the plug-in's code does: it may still have a window
    // procedure of its own on one of them.
    frame_.destroy();
    library_.shutdown();
    setBrowserServices(nullptr);
    if (watcher_) {
        watcher_->stop();
    }
    std::error_code ignored;
    std::filesystem::remove_all(tempRoot_, ignored);
}

int BrowserSession::exitCode() const {
    if (timedOut_) {
        std::fprintf(stderr, "kestrel-host: the time limit of %g s passed; the page was left\n",
                     *options_.timeoutSeconds);
        return kExitFailed;
    }
    if (watcher_ && watcher_->unanswered()) {
        return kExitFailed;
    }
    if (hasOutcome_) {
        return outcome_ == kOutcomeCompleted ? kExitCompleted : kExitFailed;
    }
    return leave_ == Leave::ByPlugin ? kExitCompleted : kExitFailed;
}

void BrowserSession::setWindow() {
    resizePending_ = false;
    if (!instanceAlive_ || left_) {
        return;
    }
    RECT client{};
    GetClientRect(frame_.pluginArea(), &client);
    window_ = NPWindow{};
    window_.window = frame_.pluginArea();
    window_.width = uint32_t(client.right);
    window_.height = uint32_t(client.bottom);
    window_.clipRect = NPRect{0, 0, uint16_t(client.bottom), uint16_t(client.right)};
    window_.type = NPWindowTypeWindow;
    NPError result = callPlugin([&] { return library_.funcs().setwindow(&instance_, &window_); });
    if (result != NPERR_NO_ERROR) {
        std::fprintf(stderr, "kestrel-host: NPP_SetWindow answered NPError %d\n", result);
    }
}

BrowserSession::Stream& BrowserSession::addStream(std::string url, std::string mimeType) {
    auto stream = std::make_unique<Stream>();
    stream->id = nextStreamId_++;
    stream->url = std::move(url);
    stream->mimeType = std::move(mimeType);
    Stream& added = *stream;
    streams_[added.id] = std::move(stream);
    return added;
}

bool BrowserSession::openStream(Stream& stream, const DownloadHeaders& headers) {
    stream.record.ndata = &stream;
    stream.record.url = stream.url.c_str();
    stream.record.end = uint32_t(std::min<uint64_t>(headers.length, UINT32_MAX));
    stream.record.lastmodified = headers.lastModified;
    stream.type = NP_NORMAL;
    NPError result = callPlugin([&] {
        return library_.funcs().newstream(&instance_, stream.mimeType.data(), &stream.record,
                                          NPBool(false), &stream.type);
    });
    stream.opened = result == NPERR_NO_ERROR;
    stream.refused = !stream.opened;
    return stream.opened;
}

void BrowserSession::pushData(Stream& stream, const std::string& path) {
    const NPPluginFuncs& funcs = library_.funcs();
    if (!stream.opened || stream.type == NP_ASFILEONLY || funcs.writeready == nullptr ||
        funcs.write == nullptr) {
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(kWriteChunk);
    int32_t offset = 0;
    int stalls = 0;
    while (in && stalls < 3) {
        int32_t ready = callPlugin([&] { return funcs.writeready(&instance_, &stream.record); });
        if (ready <= 0) {
            return; // the plug-in takes no bytes now; it still gets the file
        }
        in.seekg(offset);
        in.read(buffer.data(), std::streamsize(std::min<size_t>(size_t(ready), buffer.size())));
        int32_t got = int32_t(in.gcount());
        if (got <= 0) {
            return;
        }
        int32_t taken = callPlugin(
            [&] { return funcs.write(&instance_, &stream.record, offset, got, buffer.data()); });
        if (taken < 0) {
            // The plug-in gives up on the stream.
            callPlugin(
                [&] { return funcs.destroystream(&instance_, &stream.record, NPRES_USER_BREAK); });
            stream.opened = false;
            return;
        }
        stalls = taken == 0 ? stalls + 1 : 0;
        offset += std::min(taken, got);
        in.clear();
    }
}

void BrowserSession::endStream(Stream& stream, const DownloadResult* result, NPReason reason) {
    const NPPluginFuncs& funcs = library_.funcs();
    if (stream.opened) {
        bool asFile = stream.type == NP_ASFILE || stream.type == NP_ASFILEONLY;
        if (result != nullptr && asFile &&
            (result->kind == DownloadResult::Kind::Complete ||
             result->kind == DownloadResult::Kind::NotFound)) {
            const char* file =
                result->kind == DownloadResult::Kind::Complete ? result->path.c_str() : nullptr;
            callPlugin([&] { funcs.asfile(&instance_, &stream.record, file); });
        }
        callPlugin([&] { return funcs.destroystream(&instance_, &stream.record, reason); });
        stream.opened = false;
    }
    if (stream.notify && funcs.urlnotify != nullptr) {
        callPlugin([&] {
            funcs.urlnotify(&instance_, stream.url.c_str(),
                            stream.refused ? NPRES_USER_BREAK : reason, stream.record.notifyData);
        });
    }
}

void BrowserSession::deliverPending() {
    if (delivering_ || !canCallPlugin()) {
        return;
    }
    delivering_ = true;
    while (!pending_.empty() && canCallPlugin() && leave_ == Leave::None) {
        Pending event = std::move(pending_.front());
        pending_.pop_front();
        auto found = streams_.find(event.id);
        if (found == streams_.end()) {
            continue;
        }
        Stream& stream = *found->second;
        if (event.message == WM_DOWNLOAD_HEADERS) {
            if (!stream.opened && !stream.refused) {
                openStream(stream, *event.headers);
            }
            continue;
        }
        // A transfer that failed before the source answered still opens and ends its stream:
        // every request ends.
        if (!stream.opened && !stream.refused) {
            openStream(stream, DownloadHeaders{});
        }
        if (event.result->kind == DownloadResult::Kind::Complete) {
            pushData(stream, event.result->path);
        }
        endStream(stream, event.result.get(), reasonFor(*event.result));
        streams_.erase(event.id);
    }
    delivering_ = false;
}

void BrowserSession::leaveNow() {
    if (left_ || depth_ != 0) {
        return;
    }
    if (!instanceAlive_) {
        finished_ = true;
        return;
    }
    watcher_->leavingPage();
    if (downloads_) {
        downloads_->cancelAll();
    }
    pending_.clear();
    for (auto& [id, stream] : streams_) {
        DownloadResult cancelled;
        cancelled.kind = DownloadResult::Kind::Cancelled;
        if (stream->opened) {
            endStream(*stream, &cancelled, NPRES_USER_BREAK);
        }
    }
    streams_.clear();
    if (library_.hasOutcome()) {
        outcome_ = callPlugin([&] { return library_.outcome(); });
        hasOutcome_ = true;
    }
    left_ = true;
    NPSavedData* saved = nullptr;
    callPlugin([&] { return library_.funcs().destroy(&instance_, &saved); });
    instanceAlive_ = false;
    if (saved != nullptr) {
        browserFuncs_.memfree(saved->buf);
        browserFuncs_.memfree(saved);
    }
    finished_ = true;
    PostMessageA(frame_.frame(), WM_NULL, 0, 0); // wakes the top-level loop
}

NPError BrowserSession::getUrl(NPP instance, const char* url, const char* target, bool notify,
                               void* notifyData) {
    if (instance != &instance_ || !instanceAlive_) {
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    if (url == nullptr || *url == '\0') {
        return NPERR_INVALID_URL;
    }
    if (target != nullptr || left_ || leave_ != Leave::None) {
        // This browser shows no pages of its own, and a page being left takes no requests.
        return NPERR_GENERIC_ERROR;
    }
    std::string resolved = resolveUrl(documentUrl_, url);
    if (!isWebUrl(resolved) && urlScheme(resolved) != "file") {
        return NPERR_INVALID_URL;
    }
    Stream& stream = addStream(resolved, kDownloadMimeType);
    stream.notify = notify;
    stream.record.notifyData = notify ? notifyData : nullptr;
    // Served from the message loop, never inside this call.
    downloads_->enqueue(stream.id, resolved);
    return NPERR_NO_ERROR;
}

void BrowserSession::invalidatePlugin() {
    InvalidateRect(frame_.pluginArea(), nullptr, TRUE);
}

void BrowserSession::leavePage(bool byPlugin) {
    if (leave_ != Leave::None || left_) {
        return;
    }
    leave_ = byPlugin ? Leave::ByPlugin : Leave::ByUser;
    PostMessageA(frame_.frame(), WM_HOST_LEAVE, 0, 0);
}

void BrowserSession::pluginAreaResized() {
    if (instanceAlive_ && !left_) {
        resizePending_ = true;
        PostMessageA(frame_.frame(), WM_HOST_RESUME, 0, 0);
    }
}

void BrowserSession::appMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DOWNLOAD_HEADERS:
    case WM_DOWNLOAD_DONE: {
        Pending event{message, int(wParam), nullptr, nullptr};
        if (message == WM_DOWNLOAD_HEADERS) {
            event.headers.reset(reinterpret_cast<DownloadHeaders*>(lParam));
        } else {
            event.result.reset(reinterpret_cast<DownloadResult*>(lParam));
        }
        if (!left_) {
            pending_.push_back(std::move(event));
            deliverPending();
        }
        break;
    }
    case WM_DOWNLOAD_PROGRESS:
        if (!left_) {
            frame_.setPercent(int(lParam));
        }
        break;
    case WM_HOST_TIMEOUT:
        if (!left_) {
            timedOut_ = true;
            if (leave_ == Leave::None) {
                leave_ = Leave::ByTimeout;
            }
        }
        [[fallthrough]];
    case WM_HOST_LEAVE:
    case WM_HOST_RESUME:
        if (depth_ != 0 || left_) {
            break; // afterPluginCall() comes back here
        }
        if (leave_ != Leave::None) {
            leaveNow();
        } else {
            if (resizePending_) {
                setWindow();
            }
            deliverPending();
        }
        break;
    default:
        break;
    }
}

} // namespace kestrel::host
