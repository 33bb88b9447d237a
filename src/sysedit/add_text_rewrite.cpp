#include "sysedit/add_text_rewrite.h"

#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"
#include "lexical/numbers.h"

#include <cstdint>
#include <optional>

namespace kestrel::sysedit {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return lexical::compareIgnoringCp1252Case(a, b) == 0;
}

bool matchesWhere(std::string_view line, std::string_view where) {
    if (!where.empty() && where.back() == '*') {
        const std::string_view prefix = where.substr(0, where.size() - 1);
        return line.size() >= prefix.size() &&
               equalsIgnoringCase(line.substr(0, prefix.size()), prefix);
    }
    return equalsIgnoringCase(line, where);
}

} // namespace

AddTextRequest addTextRequest(const TextInsertion& insertion,
                              const lexical::MacroVariables& macros) {
    return {lexical::allMacrosExpanded(insertion.text, macros),
            lexical::allMacrosExpanded(insertion.file, macros),
            lexical::allMacrosExpanded(insertion.where, macros), insertion.replace};
}

TextRewrite rewriteAddText(std::string_view original, bool created, const AddTextRequest& request) {
    TextFileLines file = splitTextFile(original);
    const int64_t count = static_cast<int64_t>(file.lines.size());
    TextRewrite result;
    result.text = std::string(original);

    // A position from 1 to count + 1; none while a search has found nothing.
    std::optional<int64_t> position;
    const bool search = !request.where.empty() && lexical::leadingSignedNumber(request.where) == 0;
    if (request.where.empty())
        position = count + 1;
    else if (!search)
        position = lexical::leadingSignedNumber(request.where);

    for (int64_t n = 1; n <= count; ++n) {
        const std::string& body = file.lines[size_t(n - 1)].body;
        if (!request.replace && equalsIgnoringCase(body, request.text))
            return result; // there already
        if (search && !position && matchesWhere(body, request.where))
            position = request.replace ? n : n + 1;
    }
    if (position && *position < 0)
        *position = std::max<int64_t>(1, *position + count + (request.replace ? 1 : 2));
    if (position && *position > count + 1)
        position = count + 1;

    if (created)
        result.logLines.push_back(lexical::logline::file(request.file));
    auto log = [&](std::string_view oldLine, std::string_view newLine) {
        result.logLines.push_back(lexical::logline::addText(oldLine, request.file, newLine));
    };
    if (position && *position <= count) {
        const auto at = file.lines.begin() + (*position - 1);
        if (request.replace) {
            std::string text = request.text;
            if (!text.empty() && text.back() == '*') {
                text.pop_back();
                text += at->body; // kept, with the text in front of it
            }
            log(at->body, text);
            at->body = std::move(text);
        } else {
            log("", request.text);
            file.lines.insert(at, {request.text, file.newLine});
        }
    } else if (!request.replace || created) {
        log("", request.text);
        file.endLastLine();
        file.lines.push_back({request.text, file.newLine});
    } else {
        return result; // nothing to replace
    }
    result.text = file.join();
    return result;
}

} // namespace kestrel::sysedit
