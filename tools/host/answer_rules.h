// The unattended mode's rules: one per line, "TEXT => ACTION", first match wins.
//
//   # comment
//   Do you wish to quit? => no
//   Destination => text "C:\APPS\DEMO"
//   Components => check 1,3
//   * => ok
//
// TEXT is a part of the window's caption or of one of its texts ("*" matches every window).
// ACTION is yes, no, ok, cancel, text "VALUE" (fill the first edit, then OK) or check N[,N...]
// (tick the options at these positions counted from 1, untick the others, then OK).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::host {

struct AnswerAction {
    enum class Kind { Yes, No, Ok, Cancel, Text, Check };
    Kind kind = Kind::Ok;
    std::string text;             // Text
    std::vector<int> positions;   // Check, counted from 1
    std::string describe() const; // as written in a rules file
};

struct AnswerRule {
    std::string match; // "*" for every window
    AnswerAction action;
    int line = 0;
};

struct AnswerRulesResult {
    std::vector<AnswerRule> rules;
    std::string error; // "LINE: message" for the first bad line; empty when all are good
};

AnswerRulesResult parseAnswerRules(std::string_view text);

// The first rule that matches a window with this caption and these texts.
const AnswerRule* findAnswerRule(const std::vector<AnswerRule>& rules, std::string_view caption,
                                 const std::vector<std::string>& texts);

} // namespace kestrel::host
