// The installer's dialogs answered from a script: ASK answers are given in order (an empty list
// takes the defaults; a nullopt answer cancels), option screens tick their first option,
// destinations keep the record's path, and everything shown is recorded.
#pragma once

#include "host/installer_dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {

class ScriptedDialogs : public host::InstallerDialogs {
  public:
    // Given in order; nullopt cancels. Without one an ASK keeps its default answer.
    std::deque<std::optional<std::string>> askAnswers;
    // Called at every pump and every modal dialog: the test's chance to act meanwhile.
    std::function<void()> whileOpen;

    std::vector<std::string> shown; // "ask:PROMPT", "destination:PATH", "options:N", "popup:N"
    int32_t openedWithFiles = -1;
    int filesFinished = 0;
    int cancelsOfOpenDialog = 0;

    bool ask(script::AskPrompt& prompt) override {
        shown.push_back("ask:" + prompt.promptText);
        meanwhile();
        std::optional<std::string> answer = prompt.answer;
        if (!askAnswers.empty()) {
            answer = askAnswers.front();
            askAnswers.pop_front();
        }
        if (!answer || cancelNow_)
            return false;
        prompt.answer = *answer;
        return true;
    }
    bool chooseOptions(const script::BuiltScreen&, bool, int32_t firstOption, int32_t,
                       lexical::OptionTables& options) override {
        shown.push_back("options:" + std::to_string(firstOption));
        meanwhile();
        if (cancelNow_)
            return false;
        options.setSelected(firstOption, true);
        return true;
    }
    std::optional<std::string> chooseDestination(script::DirectoryPrompt& prompt,
                                                 const host::DirectoryMaker& make) override {
        shown.push_back("destination:" + prompt.path);
        meanwhile();
        if (cancelNow_ || !make(prompt.path))
            return std::nullopt;
        return prompt.path;
    }
    void openProgress(int32_t fileTotal, const ui::ByteProgress&) override {
        openedWithFiles = fileTotal;
        open_ = true;
    }
    bool progressOpen() const override { return open_; }
    void showCurrentFile(const std::string&, const std::string&) override {}
    void progressStep(bool fileFinished) override { filesFinished += fileFinished; }
    void setDownloadPercent(int32_t) override {}
    void showPopup(const script::PopMessage& popup) override {
        shown.push_back("popup:" + std::to_string(popup.number));
    }
    void restackProgressBelowPopup() override {}
    void closeProgressAndPopup() override { open_ = false; }
    bool pumpMessages() override {
        meanwhile();
        return false;
    }
    void cancelOpenDialog() override {
        ++cancelsOfOpenDialog;
        cancelNow_ = true;
    }

  private:
    void meanwhile() {
        if (whileOpen) {
            auto act = std::move(whileOpen);
            act();
        }
    }

    bool open_ = false;
    bool cancelNow_ = false;
};

} // namespace kestrel::test
