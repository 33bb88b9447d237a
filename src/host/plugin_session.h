// One plug-in instance's side of an installation: start-up when the browser hands over the
// script, the steps the plug-in window receives, the downloads made through the browser, and
// the end when the browser destroys the instance.
//
// Re-entrancy. Dialogs, message boxes and the copy pipeline's pump dispatch every message of
// the thread while the installation runs, so a step, a delivery or the end of the instance can
// arrive while a call is on the stack. A step that arrives then is only recorded and carried
// out once the stack has unwound (an abort included); an end closes the open dialog and waits
// for the unwinding too, so nothing the running call uses is freed under it.
//
// Steps. Only steps this session posted are carried out: one that nobody posted (another
// window's use of the message, a second start) is dropped, so the questions are never asked
// and RENAME never carried out twice.
#pragma once

#include "files/copy_pipeline.h"
#include "files/copy_services.h"
#include "host/engine_services.h"
#include "host/installation.h"
#include "host/plugin_process.h"
#include "host/step_code.h"

#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace kestrel::host {

// Shown when a second instance would start an installation while one runs.
inline constexpr std::string_view kInstallationRunning =
    "Another installation is running. Finish it before you start this one.";

class PluginSession final : private files::RemoteFiles, private files::NextDiskPrompt {
  public:
    PluginSession(PluginProcess& process, EngineServices& services);
    ~PluginSession() override;
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    // The script has arrived (scriptPath, a local copy; baseUrl, its web directory). False
    // when the installation could not start: the user has been told, and the caller asks the
    // browser to leave the page.
    bool start(const std::string& scriptPath, const std::string& baseUrl);
    // The browser is destroying the instance: the read-me, exit programs and restart question
    // when the installation asked to leave the page itself, then the script is released. With
    // a call on the stack this happens once it has unwound.
    void end();
    // True while a call of this session is on the stack; the caller keeps the session alive.
    bool busy() const { return depth_ > 0; }
    // A script has been handed over (whether the installation could start or not): every
    // later stream is a download.
    bool started() const { return startAttempted_; }
    // The running installation's script; null before start-up and after the end.
    const script::InstallScript* script() const {
        return installation_ ? &installation_->script : nullptr;
    }

    // WM_INSTALLSTEP: withDeliveredPath when its lParam is the delivered-path buffer.
    void step(StepCode code, bool withDeliveredPath);

    // Downloads. isRequired: a missing file is an error (anything but the pictures).
    bool isRequired() const { return !isOptional(pendingCode_); }
    // The browser handed over the requested file (path null: an optional file that has none).
    void deliver(const char* path);
    // A download stream ended without a file.
    void downloadError(const std::string& url);
    // Ends the installation: the progress dialog and popup close, and an abort step follows.
    void abortInstallation();
    // The buffer whose address the delivery steps carry.
    const std::string& deliveredPath() const { return delivered_; }

  private:
    class Busy;
    friend class Busy;

    // RemoteFiles, for the copy pipeline.
    void requestFile(const std::string& location) override;
    std::optional<std::string> fetchNow(const std::string& location) override;
    // NextDiskPrompt, for an archive's next volume on a local disk.
    bool askForNextDisk(bool firstRequest) override;

    void request(const std::string& address, StepCode code);
    void post(StepCode code, bool withPath);
    bool takeExpected(StepCode code, bool withPath);
    void carryOut(StepCode code, bool withPath);
    void runController(std::string& path);
    void finishSuccessfully();
    void abortEnding(bool restoreWindow);
    void requestEndOfPage(bool restoreWindow);
    void endInstallation();
    void afterUnwinding();
    // The installation is being ended or aborted: what runs stops at its next chance.
    bool stopping() const { return endPending_ || endDone_ || abortRequested_; }

    PluginProcess& process_;
    EngineServices& services_;
    std::unique_ptr<Installation> installation_;

    // Downloads: the code of the last request and the requests outstanding (the first step
    // that start-up posts counts as one).
    StepCode pendingCode_ = StepCode::Continue;
    int32_t pendingCount_ = 1;
    bool deliveredCurrent_ = false; // the last request has been handed over
    std::string delivered_;
    // Steps posted and not yet received, by code and whether they carry the path.
    std::array<std::array<int32_t, 2>, kLastStepCode + 1> expected_{};
    // A volume fetched while the controller runs.
    struct Fetch {
        bool waiting = false;
        std::optional<std::string> path;
    } fetch_;

    bool startAttempted_ = false;
    int32_t depth_ = 0;
    std::deque<std::pair<StepCode, bool>> recorded_;
    bool abortRequested_ = false;
    bool endRequestedByPlugin_ = false;
    bool endPending_ = false;
    bool endDone_ = false;
    bool completed_ = false;
};

} // namespace kestrel::host
