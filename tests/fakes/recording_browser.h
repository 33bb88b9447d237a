// The plug-in window and the browser as an installation sees them, in memory: requests and
// posted steps are queued for the test to serve and deliver, and the end of the page is
// recorded.
#pragma once

#include "host/browser.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

class RecordingBrowser : public host::Browser {
  public:
    struct Posted {
        host::StepCode code;
        bool withPath;
    };

    std::vector<std::string> requested; // every address, in order
    std::deque<std::pair<std::string, host::StepCode>> outstanding;
    std::deque<Posted> posted;
    std::vector<bool> endRequests; // restoreWindow of each request to leave the page
    std::function<void()> whileWaiting;

    void requestUrl(const std::string& url, host::StepCode code) override {
        requested.push_back(url);
        outstanding.emplace_back(url, code);
    }
    void postStep(host::StepCode code) override { posted.push_back({code, false}); }
    void postDelivery(host::StepCode code) override { posted.push_back({code, true}); }
    void waitForMessages(uint32_t) override {
        if (whileWaiting)
            whileWaiting();
    }
    void requestEndOfPage(bool restoreWindow) override { endRequests.push_back(restoreWindow); }
    void enlargeBrowser() override { enlarged = true; }
    ui::Rect pluginArea() const override { return {0, 0, 640, 480}; }
    void repaint() override {}
    void setScreenPicture(const std::string&) override {}
    bool showIntroScreen(const std::string&, int32_t) override { return false; }
    void closeIntroScreen() override {}
    void showLocatePanel(const std::string&) override {}

    bool enlarged = false;
};

} // namespace kestrel::test
