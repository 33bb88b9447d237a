// Watches the windows the plug-in opens, from a helper thread, as a person at the screen would:
// records each one once in the transcript, photographs it, and in unattended mode answers the
// ones that wait for the user (dialogs and message boxes whose owner they disabled) by
// filling their edit, ticking their options and pressing a button. Windows that ask nothing
// (the progress dialog, pop-up messages) are only recorded.
#pragma once

#include "answer_rules.h"
#include "transcript.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kestrel::host {

struct WatcherOptions {
    std::optional<std::vector<AnswerRule>> rules; // unattended mode when present
    std::string transcriptPath;
    std::string screenshotsDir;
};

class WindowWatcher {
  public:
    explicit WindowWatcher(WatcherOptions options);
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;
    ~WindowWatcher();

    bool openTranscript(std::string& error);
    void start();
    void stop();
    // The plug-in's window, photographed when the first dialog appears (by then the screen
    // picture has arrived and been painted), or as the page is left if no dialog appeared.
    void pluginWindowShown(HWND window) { pluginWindow_ = window; }
    void leavingPage() { photographPluginWindow(); }
    // A window needed an answer that no rule gave.
    bool unanswered() const { return unanswered_; }

  private:
    void run();
    void poll();
    void look(HWND window);
    void photographPluginWindow();
    void screenshot(HWND window, const std::string& kind, bool clientOnly);

    WatcherOptions options_;
    Transcript transcript_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> unanswered_{false};
    std::atomic<HWND> pluginWindow_{nullptr};
    std::atomic<bool> pluginShot_{false};
    std::atomic<int> shotNumber_{0};
    std::map<HWND, int> sightings_; // visible dialogs: how many polls saw them
};

} // namespace kestrel::host
