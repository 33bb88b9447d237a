#include "host/plugin_session.h"

#include "host/controller.h"
#include "host/startup.h"
#include "lexical/message_texts.h"
#include "script/script_reader.h"
#include "sysedit/restart_phase.h"

namespace kestrel::host {

// Counts the session's calls on the stack; the outermost one, as it returns, carries out what
// arrived meanwhile.
class PluginSession::Busy {
  public:
    explicit Busy(PluginSession& session) : session_(session) { ++session_.depth_; }
    ~Busy() {
        if (--session_.depth_ == 0)
            session_.afterUnwinding();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

  private:
    PluginSession& session_;
};

PluginSession::PluginSession(PluginProcess& process, EngineServices& services)
    : process_(process), services_(services) {}

PluginSession::~PluginSession() {
    if (process_.running == this)
        process_.running = nullptr;
}

bool PluginSession::start(const std::string& scriptPath, const std::string& baseUrl) {
    Busy busy(*this);
    if (startAttempted_ || endDone_)
        return false;
    startAttempted_ = true;
    os::Prompts& prompts = services_.prompts;
    script::PluginGlobals& globals = process_.globals;
    if (process_.running) {
        prompts.messageBox(kInstallationRunning, os::kDefaultCaption,
                           os::kMbOk | os::kMbIconExclamation);
        requestEndOfPage(false);
        return false;
    }
    process_.outcome = kOutcomeFailed; // until it has run to its end
    globals.settings.badDirectoryText = lexical::texts::kBadDirectory;
    globals.settings.fileNotFoundText = lexical::texts::kFileNotFound;
    const std::optional<std::string> workingDirectory = services_.files.currentDirectory();
    if (!workingDirectory) {
        prompts.messageBox(globals.settings.badDirectoryText, os::kDefaultCaption,
                           os::kMbOk | os::kMbIconExclamation);
        requestEndOfPage(false);
        return false;
    }
    globals.macros.setSourceDrive('\0');
    globals.baseUrl = baseUrl;
    globals.macros.setSourceDir(baseUrl);
    globals.serverRoot = serverRootOf(baseUrl);
    globals.macros.setWindowsDir(services_.details.windowsDirectory());
    globals.macros.setSystemDir(services_.details.systemDirectory());

    installation_ = std::make_unique<Installation>(
        process_, services_, InstallationHooks{*this, *this, [this] { return stopping(); }},
        *workingDirectory);
    process_.running = this;
    script::InstallScript& script = installation_->script;
    if (const auto key = script::readScriptKey(installation_->sources, scriptPath))
        process_.scriptKey = *key;
    installation_->interpreter.reader().setKey(process_.scriptKey);
    const script::RunReport report = installation_->interpreter.runScript(scriptPath);
    if (!report.succeeded() || stopping()) {
        if (report.error)
            script::showScriptError(prompts, *report.error);
        abortEnding(false);
        return false;
    }
    services_.browser.enlargeBrowser();
    if (!script.runAtStart.empty())
        services_.processes.runAndWait(script.runAtStart.text());
    if (script.introScreen) {
        request(relativeAddress(baseUrl, script.introScreen->fileName), StepCode::IntroPicture);
        return true;
    }
    services_.browser.repaint();
    post(StepCode::Continue, false);
    return true;
}

void PluginSession::step(StepCode code, bool withDeliveredPath) {
    if (!installation_)
        return;
    if (depth_ > 0) {
        // The volume a fetch waits for is taken at once; anything else waits its turn.
        if (fetch_.waiting && code == StepCode::File && takeExpected(code, withDeliveredPath)) {
            fetch_.waiting = false;
            if (withDeliveredPath && !delivered_.empty())
                fetch_.path = delivered_;
            delivered_.clear();
            return;
        }
        if (code == StepCode::Abort)
            abortRequested_ = true;
        recorded_.emplace_back(code, withDeliveredPath);
        return;
    }
    Busy busy(*this);
    carryOut(code, withDeliveredPath);
}

void PluginSession::carryOut(StepCode code, bool withPath) {
    if (!takeExpected(code, withPath) || !installation_ || installation_->state.finished)
        return;
    script::InstallScript& script = installation_->script;
    InstallationState& state = installation_->state;
    Browser& browser = services_.browser;
    switch (code) {
    case StepCode::Continue:
        --pendingCount_;
        break;
    case StepCode::Abort:
        abortRequested_ = false;
        abortEnding(true);
        return;
    case StepCode::ScreenPicture:
        if (withPath) {
            browser.setScreenPicture(delivered_);
            browser.repaint();
            withPath = false;
        }
        break;
    case StepCode::IntroPicture:
        if (withPath && script.introScreen &&
            browser.showIntroScreen(delivered_, script.introScreen->seconds)) {
            ++expected_[size_t(StepCode::Continue)][0]; // posted when it closes
        } else {
            --pendingCount_;
        }
        withPath = false;
        break;
    case StepCode::File:
        break;
    }
    if (script.screenGraphic && !state.screenGraphicRequested) {
        state.screenGraphicRequested = true;
        request(relativeAddress(process_.globals.baseUrl, script.screenGraphic->fileName),
                StepCode::ScreenPicture);
        return;
    }
    if (pendingCount_ != 0)
        return;
    browser.closeIntroScreen();
    std::string none;
    runController(withPath ? delivered_ : none);
}

void PluginSession::runController(std::string& path) {
    Controller controller(process_, services_, *installation_);
    const files::InstallResult result = controller.run(path);
    if (result == files::InstallResult::Waiting)
        return;
    if (result == files::InstallResult::Abort || stopping()) {
        abortEnding(true);
        return;
    }
    controller.writeRegistryAndProgramManager();
    installation_->state.finished = true;
    completed_ = true;
    process_.outcome = kOutcomeCompleted;
    requestEndOfPage(true);
}

void PluginSession::abortEnding(bool restoreWindow) {
    if (!installation_ || installation_->state.finished)
        return;
    installation_->state.finished = true;
    script::InstallScript& script = installation_->script;
    // Nothing of an installation that did not run to its end is started afterwards.
    script.readmeFile.clear();
    for (lexical::MacroString& command : script.runAtExit)
        command.setText("");
    process_.globals.settings.rebootMode = script::RebootMode::None;
    services_.dialogs.closeProgressAndPopup();
    process_.outcome = kOutcomeFailed;
    requestEndOfPage(restoreWindow);
}

void PluginSession::requestEndOfPage(bool restoreWindow) {
    if (endRequestedByPlugin_)
        return;
    endRequestedByPlugin_ = true;
    services_.browser.requestEndOfPage(restoreWindow);
}

void PluginSession::end() {
    if (depth_ > 0) {
        endPending_ = true;
        services_.dialogs.cancelOpenDialog();
        return;
    }
    Busy busy(*this);
    endInstallation();
}

void PluginSession::endInstallation() {
    if (endDone_)
        return;
    endDone_ = true;
    if (!installation_)
        return;
    script::PluginGlobals& globals = process_.globals;
    script::InstallScript& script = installation_->script;
    bool restart = false;
    if (endRequestedByPlugin_) {
        if (!script.readmeFile.empty()) {
            const std::string file = lexical::allMacrosExpanded(script.readmeFile, globals.macros);
            services_.processes.start(readmeCommand(file, globals.macros.defaultDir()));
        }
        for (const lexical::MacroString& command : script.runAtExit) {
            if (!command.empty())
                services_.processes.start(command.text());
        }
        restart = sysedit::askForRestart(int32_t(globals.settings.rebootMode),
                                         script.prompts.reboot, services_.prompts);
    }
    // A restart wanted by this installation is not wanted by the next one.
    globals.settings.rebootMode = script::RebootMode::None;
    globals.settings.regServers.clear();
    services_.dialogs.closeProgressAndPopup();
    installation_.reset();
    process_.running = nullptr;
    sysedit::restartIfWanted(restart, services_.restart, services_.prompts);
}

void PluginSession::afterUnwinding() {
    ++depth_;
    while (!recorded_.empty() && !endPending_) {
        const auto [code, withPath] = recorded_.front();
        recorded_.pop_front();
        carryOut(code, withPath);
    }
    if (endPending_) {
        endPending_ = false;
        recorded_.clear();
        endInstallation();
    }
    --depth_;
}

void PluginSession::deliver(const char* path) {
    Busy busy(*this);
    --pendingCount_;
    deliveredCurrent_ = true;
    if (path) {
        delivered_ = path;
        post(pendingCode_, true);
    } else {
        post(pendingCode_, false);
    }
}

void PluginSession::downloadError(const std::string& url) {
    Busy busy(*this);
    if (isOptional(pendingCode_)) {
        // A picture that did not come: the installation goes on without it, once.
        if (!deliveredCurrent_)
            deliver(nullptr);
        return;
    }
    if (fetch_.waiting)
        fetch_.waiting = false;
    services_.prompts.messageBox(std::string(lexical::texts::kNotFound) + url, "Error",
                                 os::kMbOk | os::kMbIconExclamation);
    abortInstallation();
}

void PluginSession::abortInstallation() {
    Busy busy(*this);
    fetch_.waiting = false;
    services_.dialogs.closeProgressAndPopup();
    post(StepCode::Abort, false);
}

void PluginSession::request(const std::string& address, StepCode code) {
    pendingCode_ = code;
    ++pendingCount_;
    deliveredCurrent_ = false;
    services_.browser.requestUrl(browserAddress(address), code);
}

void PluginSession::requestFile(const std::string& location) {
    request(location, StepCode::File);
}

std::optional<std::string> PluginSession::fetchNow(const std::string& location) {
    fetch_ = Fetch{true, std::nullopt};
    request(location, StepCode::File);
    while (fetch_.waiting && !stopping()) {
        if (services_.dialogs.pumpMessages() || !fetch_.waiting)
            break;
        services_.browser.waitForMessages(50);
    }
    fetch_.waiting = false;
    std::optional<std::string> path = std::move(fetch_.path);
    fetch_.path.reset();
    return path;
}

bool PluginSession::askForNextDisk(bool firstRequest) {
    return Controller(process_, services_, *installation_).askForNextDisk(firstRequest);
}

void PluginSession::post(StepCode code, bool withPath) {
    ++expected_[size_t(code)][withPath ? 1 : 0];
    if (withPath)
        services_.browser.postDelivery(code);
    else
        services_.browser.postStep(code);
}

bool PluginSession::takeExpected(StepCode code, bool withPath) {
    int32_t& count = expected_[size_t(code)][withPath ? 1 : 0];
    if (count <= 0)
        return false;
    --count;
    return true;
}

} // namespace kestrel::host
