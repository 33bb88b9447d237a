// The installer's dialogs answered from a script: ASK answers, option choices and destinations
// are given in order (an empty answer list takes the defaults; a nullopt answer cancels), and
// everything shown is recorded.
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
    // Options ticked per group screen, in order; nullopt cancels. Without one: the first.
    std::deque<std::optional<std::vector<int32_t>>> optionAnswers;
    // Destinations typed, in order; nullopt cancels. Without one: the record's path.
    std::deque<std::optional<std::string>> destinationAnswers;
    // Called at every pump and every modal dialog: the test's chance to act meanwhile.
    std::function<void()> whileOpen;
    bool cancelled = false;

    std::vector<std::string> shown; // "ask:PROMPT", "destination:PATH", "options:N", "popup:N"
    std::vector<std::string> currentFiles;
    int32_t openedWithFiles = -1;
    int filesFinished = 0;
    int ticks = 0;
    int closes = 0;
    int cancelsOfOpenDialog = 0;
    int32_t downloadPercent = 0;

    bool ask(script::AskPrompt& prompt) override {
        shown.push_back("ask:" + prompt.promptText);
        meanwhile();
        std::optional<std::string> answer = take(askAnswers, prompt.answer);
        if (!answer || cancelNow_)
            return false;
        prompt.answer = *answer;
        return true;
    }
    bool chooseOptions(const script::BuiltScreen&, bool, int32_t firstOption, int32_t,
                       lexical::OptionTables& options) override {
        shown.push_back("options:" + std::to_string(firstOption));
        meanwhile();
        std::optional<std::vector<int32_t>> ticked =
            take(optionAnswers, std::vector<int32_t>{firstOption});
        if (!ticked || cancelNow_)
            return false;
        for (int32_t option : *ticked)
            options.setSelected(option, true);
        return true;
    }
    std::optional<std::string> chooseDestination(script::DirectoryPrompt& prompt,
                                                 const host::DirectoryMaker& make) override {
        shown.push_back("destination:" + prompt.path);
        meanwhile();
        std::optional<std::string> path = take(destinationAnswers, prompt.path);
        if (!path || cancelNow_ || !make(*path))
            return std::nullopt;
        return path;
    }
    void openProgress(int32_t fileTotal, const ui::ByteProgress&) override {
        openedWithFiles = fileTotal;
        open_ = true;
    }
    bool progressOpen() const override { return open_; }
    void showCurrentFile(const std::string&, const std::string& fileName) override {
        currentFiles.push_back(fileName);
    }
    void progressStep(bool fileFinished) override { fileFinished ? ++filesFinished : ++ticks; }
    void setDownloadPercent(int32_t percent) override { downloadPercent = percent; }
    void showPopup(const script::PopMessage& popup) override {
        shown.push_back("popup:" + std::to_string(popup.number));
    }
    void restackProgressBelowPopup() override {}
    void closeProgressAndPopup() override {
        open_ = false;
        ++closes;
    }
    bool pumpMessages() override {
        meanwhile();
        return cancelled;
    }
    void cancelOpenDialog() override {
        ++cancelsOfOpenDialog;
        cancelNow_ = true;
    }

  private:
    template <typename T>
    static std::optional<T> take(std::deque<std::optional<T>>& answers, T usual) {
        if (answers.empty())
            return usual;
        std::optional<T> answer = answers.front();
        answers.pop_front();
        return answer;
    }
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
