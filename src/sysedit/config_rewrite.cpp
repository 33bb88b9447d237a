#include "sysedit/config_rewrite.h"

#include "lexical/install_log_lines.h"
#include "lexical/numbers.h"

#include <optional>

namespace kestrel::sysedit {

namespace {

// One of the two settings that take a minimum.
struct MinimumSetting {
    std::string_view word; // FILES or BUFFERS
    int32_t minimum;
    bool seen = false;

    // Raises the line when it is this setting's first line and its number is below the
    // minimum; the line's old text then.
    std::optional<std::string> raise(std::string& line) {
        if (seen)
            return std::nullopt;
        const size_t afterWord = afterCommandWord(line, word);
        if (afterWord == std::string::npos)
            return std::nullopt;
        seen = true;
        const size_t value = skipBlanksAndEquals(line, afterWord);
        if (lexical::leadingNumber(std::string_view(line).substr(value)) >= minimum)
            return std::nullopt;
        std::string old = line;
        line = line.substr(0, value) + std::to_string(minimum);
        return old;
    }
};

} // namespace

ConfigRequest configRequest(const ConfigEdit& edit, const lexical::MacroVariables& macros) {
    ConfigRequest request;
    request.filesMinimum = edit.filesMinimum;
    request.buffersMinimum = edit.buffersMinimum;
    for (const lexical::MacroString& item : edit.lineList)
        request.lines.push_back(lexical::allMacrosExpanded(item.text(), macros));
    return request;
}

TextRewrite rewriteConfig(std::string_view original, const ConfigRequest& request) {
    TextFileLines file = splitTextFile(original);
    TextRewrite result;
    MinimumSetting files{"FILES", request.filesMinimum};
    MinimumSetting buffers{"BUFFERS", request.buffersMinimum};
    std::vector<bool> stillToAdd(request.lines.size(), true);

    for (TextLine& line : file.lines) {
        std::optional<std::string> oldText = files.raise(line.body);
        if (!oldText)
            oldText = buffers.raise(line.body);
        for (size_t i = 0; i < request.lines.size(); ++i)
            if (stillToAdd[i] && line.body.find(request.lines[i]) != std::string::npos)
                stillToAdd[i] = false;
        if (oldText)
            result.logLines.push_back(lexical::logline::config(*oldText, line.body));
    }

    // Added lines go at the end, after a line end for a last line without one.
    auto add = [&](std::string text, std::string logLine) {
        file.endLastLine();
        result.logLines.push_back(std::move(logLine));
        file.lines.push_back({std::move(text), file.newLine});
    };
    for (const MinimumSetting* setting : {&files, &buffers}) {
        if (!setting->seen && setting->minimum > 0)
            add(std::string(setting->word) + " = " + std::to_string(setting->minimum),
                lexical::logline::configMinimum(setting->word, setting->minimum));
    }
    for (size_t i = 0; i < request.lines.size(); ++i)
        if (stillToAdd[i])
            add(request.lines[i], lexical::logline::config("", request.lines[i]));
    result.text = file.join();
    return result;
}

} // namespace kestrel::sysedit
