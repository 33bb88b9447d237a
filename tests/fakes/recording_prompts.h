// Records every message and screen instead of showing it, and answers with preset buttons.
#pragma once

#include "os/prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace kestrel::test {

class RecordingPrompts : public os::Prompts {
  public:
    struct Message {
        std::string text;
        std::string caption;
        uint32_t type = 0;
    };

    os::PromptResult messageBox(std::string_view text, std::string_view caption,
                                uint32_t type) override {
        messages.push_back({std::string(text), std::string(caption), type});
        return nextAnswer(type & os::kMbYesNo ? os::kIdYes : os::kIdOk);
    }
    os::PromptResult showScreen(const os::ScreenDialog& screen) override {
        screens.push_back(screen);
        return nextAnswer(os::kIdOk);
    }

    // The texts of the messages, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Message& message : messages)
            out.push_back(message.text);
        return out;
    }

    std::vector<Message> messages;
    std::vector<os::ScreenDialog> screens;
    std::deque<os::PromptResult> answers; // given in order; then the usual button

  private:
    os::PromptResult nextAnswer(os::PromptResult usual) {
        if (answers.empty())
            return usual;
        const os::PromptResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace kestrel::test
