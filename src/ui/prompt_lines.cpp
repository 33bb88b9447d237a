#include "ui/prompt_lines.h"

namespace kestrel::ui {

namespace {

struct Split {
    std::string_view head;
    std::string_view tail;
};

// text is longer than kPromptRowLength.
Split splitRow(std::string_view text) {
    constexpr size_t at = kPromptRowLength;
    if (text[at] == ' ') {
        const size_t next = text.find_first_not_of(' ', at);
        return {text.substr(0, at), next == std::string_view::npos ? "" : text.substr(next)};
    }
    for (size_t i = at - 1; i >= 1; --i) {
        if (text[i] == ' ')
            return {text.substr(0, i), text.substr(i + 1)};
    }
    return {text.substr(0, at - 1), text.substr(at - 1)};
}

} // namespace

PromptLines splitPrompt(std::string_view prompt) {
    PromptLines lines;
    if (prompt.size() <= kPromptRowLength) {
        lines.rows.emplace_back(prompt);
        return lines;
    }
    std::string_view rest = prompt;
    do {
        const Split split = splitRow(rest);
        lines.rows.emplace_back(split.head);
        rest = split.tail;
    } while (rest.size() > kPromptLastRowLength);
    lines.rows.emplace_back(rest);
    return lines;
}

std::string_view defaultDestinationPrompt(int32_t askMode) {
    switch (askMode) {
    case 1:
        return "Please enter the destination directory:";
    case 2:
        return "Please enter the destination drive:";
    case 3:
        return "Please enter the destination drive and directory:";
    default:
        return "";
    }
}

PromptLines destinationPromptLines(std::string_view prompt, bool promptGiven, int32_t askMode) {
    if (promptGiven)
        return splitPrompt(prompt);
    return PromptLines{{std::string(defaultDestinationPrompt(askMode))}};
}

PromptLines askPromptLines(std::string_view prompt, bool promptGiven) {
    return splitPrompt(promptGiven ? prompt : std::string_view());
}

int32_t promptRowTop(size_t row) {
    return kPromptFirstRowTop + kPromptRowPitch * int32_t(row);
}

int32_t promptExtraHeight(const PromptLines& lines) {
    return lines.rows.size() > 2 ? kPromptRowPitch * int32_t(lines.rows.size() - 2) : 0;
}

} // namespace kestrel::ui
