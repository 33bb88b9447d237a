// One run of the stand-in browser: finds the script, loads the plug-in, gives it a window and
// the script as its first stream, serves its downloads from the message loop, and leaves the
// page when asked, in the order a browser keeps.
#pragma once

#include "browser_frame.h"
#include "browser_functions.h"
#include "download.h"
#include "download_queue.h"
#include "host_options.h"
#include "plugin_library.h"
#include "watchdog.h"
#include "window_watcher.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::host {

enum HostExit : int { kExitCompleted = 0, kExitFailed = 1, kExitCannotStart = 2 };

class BrowserSession : private BrowserServices, private FrameEvents {
  public:
    explicit BrowserSession(HostOptions options);
    BrowserSession(const BrowserSession&) = delete;
    BrowserSession& operator=(const BrowserSession&) = delete;
    ~BrowserSession() override;

    int run();

  private:
    enum class Leave { None, ByPlugin, ByUser, ByTimeout };

    struct Stream {
        int id = 0;
        std::string url;
        NPStream record{};
        bool notify = false;
        std::string mimeType;
        bool opened = false;  // NPP_NewStream accepted it and it has not ended
        bool refused = false; // NPP_NewStream failed: the plug-in hears no more of it
        uint16_t type = NP_NORMAL;
    };

    struct Pending {
        UINT message; // WM_DOWNLOAD_HEADERS or WM_DOWNLOAD_DONE
        int id;
        std::unique_ptr<DownloadHeaders> headers;
        std::unique_ptr<DownloadResult> result;
    };

    bool start(std::string& error);
    bool checkPlugin(std::string& error);
    bool fetchScript(std::string& error);
    bool startPlugin(std::string& error);
    bool deliverFirstStream(std::string& error);
    void loop();
    void finish();
    int exitCode() const;

    // Calls into the plug-in, counted: nothing that destroys the instance runs inside one.
    template <typename Call> auto callPlugin(Call call);
    void afterPluginCall();
    bool canCallPlugin() const { return depth_ == 0 && !left_; }

    void setWindow();
    Stream& addStream(std::string url, std::string mimeType);
    bool openStream(Stream& stream, const DownloadHeaders& headers);
    void pushData(Stream& stream, const std::string& path);
    void endStream(Stream& stream, const DownloadResult* result, NPReason reason);
    void deliverPending();
    void leaveNow();

    // BrowserServices
    NPError getUrl(NPP instance, const char* url, const char* target, bool notify,
                   void* notifyData) override;
    void* frameWindow() override { return frame_.frame(); }
    void invalidatePlugin() override;
    // FrameEvents
    void leavePage(bool byPlugin) override;
    void pluginAreaResized() override;
    void appMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HostOptions options_;
    std::string pluginPath_;
    std::string tempRoot_;
    int folderNumber_ = 0;

    // The script and where it came from.
    std::string documentUrl_; // what the plug-in's relative requests resolve against
    std::string scriptUrl_;   // the first stream's url
    std::string scriptPath_;
    DownloadHeaders scriptHeaders_;
    uint16_t mode_ = NP_FULL;
    std::vector<std::pair<std::string, std::string>> tagAttributes_;
    std::vector<char*> argn_;
    std::vector<char*> argv_;

    BrowserFrame frame_;
    PluginLibrary library_;
    NPNetscapeFuncs browserFuncs_{};
    NPP_t instance_{};
    bool instanceAlive_ = false;
    NPWindow window_{};
    std::unique_ptr<DownloadQueue> downloads_;
    std::unique_ptr<WindowWatcher> watcher_;
    Watchdog watchdog_;
    std::string mimeType_;

    std::map<int, std::unique_ptr<Stream>> streams_;
    std::deque<Pending> pending_;
    int nextStreamId_ = 1;
    int depth_ = 0;
    bool delivering_ = false;
    bool resizePending_ = false;
    Leave leave_ = Leave::None;
    bool timedOut_ = false;
    bool left_ = false;     // NPP_Destroy has run
    bool finished_ = false; // the top-level loop may end
    int outcome_ = kOutcomeNotRun;
    bool hasOutcome_ = false;
};

} // namespace kestrel::host
