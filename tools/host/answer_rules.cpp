#include "answer_rules.h"

#include "ascii_case.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kestrel::host {
namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace((unsigned char)text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace((unsigned char)text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Everything after an unquoted '#' is a comment.
std::string_view withoutComment(std::string_view action) {
    bool quoted = false;
    for (size_t i = 0; i < action.size(); ++i) {
        if (action[i] == '"') {
            quoted = !quoted;
        } else if (action[i] == '#' && !quoted) {
            return action.substr(0, i);
        }
    }
    return action;
}

std::optional<AnswerAction> parseAction(std::string_view text, std::string& error) {
    text = trim(withoutComment(text));
    size_t space = text.find_first_of(" \t");
    std::string verb = asciiLower(text.substr(0, space));
    std::string_view argument =
        space == std::string_view::npos ? std::string_view() : trim(text.substr(space));
    AnswerAction action;
    if (verb == "yes" || verb == "no" || verb == "ok" || verb == "cancel") {
        if (!argument.empty()) {
            error = "'" + verb + "' takes no argument";
            return std::nullopt;
        }
        action.kind = verb == "yes"  ? AnswerAction::Kind::Yes
                      : verb == "no" ? AnswerAction::Kind::No
                      : verb == "ok" ? AnswerAction::Kind::Ok
                                     : AnswerAction::Kind::Cancel;
        return action;
    }
    if (verb == "text") {
        if (argument.size() < 2 || argument.front() != '"' || argument.back() != '"') {
            error = "text needs a value in double quotes";
            return std::nullopt;
        }
        action.kind = AnswerAction::Kind::Text;
        action.text = std::string(argument.substr(1, argument.size() - 2));
        return action;
    }
    if (verb == "check") {
        action.kind = AnswerAction::Kind::Check;
        std::string_view rest = argument;
        while (!rest.empty()) {
            size_t comma = rest.find(',');
            std::string_view item = trim(rest.substr(0, comma));
            int position = 0;
            auto [end, failure] = std::from_chars(item.data(), item.data() + item.size(), position);
            if (item.empty() || failure != std::errc() || end != item.data() + item.size() ||
                position < 1) {
                error = "check needs positions counted from 1, separated by commas";
                return std::nullopt;
            }
            action.positions.push_back(position);
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
        return action;
    }
    error = "unknown action '" + std::string(text) + "' (yes, no, ok, cancel, text, check)";
    return std::nullopt;
}

} // namespace

std::string AnswerAction::describe() const {
    switch (kind) {
    case Kind::Yes:
        return "yes";
    case Kind::No:
        return "no";
    case Kind::Ok:
        return "ok";
    case Kind::Cancel:
        return "cancel";
    case Kind::Text:
        return "text \"" + text + "\"";
    case Kind::Check: {
        std::string out = "check ";
        for (size_t i = 0; i < positions.size(); ++i) {
            out += (i ? "," : "") + std::to_string(positions[i]);
        }
        return out;
    }
    }
    return {};
}

AnswerRulesResult parseAnswerRules(std::string_view text) {
    AnswerRulesResult result;
    int lineNumber = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        size_t arrow = line.find("=>");
        std::string error;
        std::string_view match =
            arrow == std::string_view::npos ? line : trim(line.substr(0, arrow));
        if (arrow == std::string_view::npos || match.empty()) {
            error = "expected TEXT => ACTION";
        } else if (auto action = parseAction(line.substr(arrow + 2), error)) {
            result.rules.push_back(AnswerRule{std::string(match), *action, lineNumber});
            continue;
        }
        result.error = std::to_string(lineNumber) + ": " + error;
        return result;
    }
    return result;
}

const AnswerRule* findAnswerRule(const std::vector<AnswerRule>& rules, std::string_view caption,
                                 const std::vector<std::string>& texts) {
    for (const AnswerRule& rule : rules) {
        if (rule.match == "*" || caption.find(rule.match) != std::string_view::npos ||
            std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
                return text.find(rule.match) != std::string::npos;
            })) {
            return &rule;
        }
    }
    return nullptr;
}

} // namespace kestrel::host
