#include "sysedit/autoexec_rewrite.h"

#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"
#include "lexical/path_text.h"

#include <algorithm>

namespace kestrel::sysedit {

namespace {

using lexical::asciiUpper;
using lexical::equalsIgnoringAsciiCase;

constexpr size_t npos = std::string_view::npos;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t skipBlanks(std::string_view line, size_t from) {
    while (from < line.size() && isBlank(line[from]))
        ++from;
    return from;
}

// Where the value of a PATH line starts: "PATH dirs", "PATH=dirs", "SET PATH=dirs", each may
// follow an "@". Nothing for any other line.
std::optional<size_t> pathValueOffset(std::string_view line) {
    const size_t afterPath = afterCommandWord(line, "PATH");
    if (afterPath != npos)
        return skipBlanksAndEquals(line, afterPath);
    const size_t afterSet = afterCommandWord(line, "SET");
    if (afterSet == npos || !isBlank(line[afterSet]))
        return std::nullopt;
    const size_t name = skipBlanks(line, afterSet);
    if (!lexical::startsWithIgnoringAsciiCase(line.substr(name), "PATH="))
        return std::nullopt;
    return name + 5;
}

// Whether directory stands in the line as one entry of a list: after the start of the value,
// a ";", a blank or "=", and followed by ";", a blank or the end of the line. C:\DOS does not
// stand in C:\DOS\BIN. Compared in capitals.
bool holdsDirectory(std::string_view line, std::string_view directory, size_t valueOffset) {
    const std::string text = asciiUpper(line);
    const std::string wanted = asciiUpper(directory);
    for (size_t at = text.find(wanted); at != npos; at = text.find(wanted, at + 1)) {
        const size_t end = at + wanted.size();
        const bool startsEntry =
            at == valueOffset ||
            (at > 0 && (text[at - 1] == ';' || isBlank(text[at - 1]) || text[at - 1] == '='));
        const bool endsEntry = end == text.size() || text[end] == ';' || isBlank(text[end]);
        if (startsEntry && endsEntry)
            return true;
    }
    return false;
}

// The program a line runs, after an optional "@" and an optional LH or LOADHIGH with its
// options: when its file name is SHARE (with or without .EXE or .COM), the offset just after
// "SHARE". A line that only mentions the word (SET SHAREDIR=..., REM SHARE) is not a SHARE line.
size_t shareProgramEnd(std::string_view line) {
    size_t at = skipBlanks(line, 0);
    if (at < line.size() && line[at] == '@')
        ++at;
    auto tokenEnd = [&](size_t from) {
        size_t end = from;
        while (end < line.size() && !isBlank(line[end]) && line[end] != '/')
            ++end;
        return end;
    };
    size_t end = tokenEnd(at);
    const std::string_view first = line.substr(at, end - at);
    if (equalsIgnoringAsciiCase(first, "LH") || equalsIgnoringAsciiCase(first, "LOADHIGH")) {
        at = skipBlanks(line, end);
        while (at < line.size() && line[at] == '/') // the loader's own options
            at = skipBlanks(line, tokenEnd(at + 1));
        end = tokenEnd(at);
    }
    const std::string_view program = line.substr(at, end - at);
    const std::string_view name = lexical::fileNamePart(program);
    const size_t nameStart = end - name.size();
    if (equalsIgnoringAsciiCase(name, "SHARE"))
        return end;
    if (equalsIgnoringAsciiCase(name, "SHARE.EXE") || equalsIgnoringAsciiCase(name, "SHARE.COM"))
        return nameStart + 5;
    return npos;
}

// A label line (":NAME") gives its whole name; any other line nothing.
std::optional<std::string_view> labelOf(std::string_view line) {
    const size_t colon = skipBlanks(line, 0);
    if (colon >= line.size() || line[colon] != ':')
        return std::nullopt;
    size_t end = colon + 1;
    while (end < line.size() && !isBlank(line[end]))
        ++end;
    return line.substr(colon + 1, end - colon - 1);
}

std::string shareOptions(int32_t files, int32_t locks) {
    std::string text;
    if (files != 0)
        text += " /F:" + std::to_string(files);
    if (locks != 0)
        text += " /L:" + std::to_string(locks);
    return text;
}

} // namespace

AutoexecRequest autoexecRequest(const AutoexecEdit& edit, const lexical::MacroVariables& macros,
                                std::optional<std::string> menuChoice) {
    AutoexecRequest request;
    for (const lexical::MacroString& item : edit.pathList)
        if (std::string dir = lexical::allMacrosExpanded(item.text(), macros); !dir.empty())
            request.pathDirectories.push_back(std::move(dir));
    if (edit.addDestination) {
        std::string dir = macros.defaultDir();
        if (dir.size() == 2 && dir[1] == ':')
            dir += '\\';
        if (!dir.empty())
            request.pathDirectories.push_back(std::move(dir));
    }
    for (const lexical::MacroString& item : edit.lineList)
        request.lines.push_back(lexical::allMacrosExpanded(item.text(), macros));
    request.shareWanted = edit.shareWanted;
    request.shareFiles = edit.shareFiles;
    request.shareLocks = edit.shareLocks;
    request.menuChoice = std::move(menuChoice);
    return request;
}

TextRewrite rewriteAutoexec(std::string_view original, const AutoexecRequest& request) {
    TextFileLines file = splitTextFile(original);
    TextRewrite result;
    bool insideSection = !request.menuChoice;
    bool pathDone = request.pathDirectories.empty();
    bool shareWanted = request.shareWanted;
    int32_t shareFiles = request.shareFiles;
    int32_t shareLocks = request.shareLocks;
    std::vector<bool> stillToAdd(request.lines.size(), true);

    for (TextLine& line : file.lines) {
        std::optional<std::string> oldText;
        if (shareWanted) {
            if (const size_t shareEnd = shareProgramEnd(line.body); shareEnd != npos) {
                shareWanted = false;
                // The program's own options: a loader's /L: before it is no locks value.
                std::string upper = line.body.substr(shareEnd);
                ShareValues present;
                readShareValues(upper, present);
                const bool raise = shareFiles > present.files || shareLocks > present.locks;
                shareFiles = std::max(shareFiles, present.files);
                shareLocks = std::max(shareLocks, present.locks);
                if (raise) {
                    oldText = line.body;
                    line.body =
                        line.body.substr(0, shareEnd) + shareOptions(shareFiles, shareLocks);
                }
            }
        }
        if (request.menuChoice)
            if (const std::optional<std::string_view> label = labelOf(line.body))
                insideSection = equalsIgnoringAsciiCase(*label, *request.menuChoice);
        if (!pathDone && insideSection) {
            if (const std::optional<size_t> value = pathValueOffset(line.body)) {
                pathDone = true;
                const std::string before = line.body;
                for (const std::string& dir : request.pathDirectories)
                    if (!holdsDirectory(line.body, dir, *value))
                        line.body.insert(*value, dir + ";");
                if (line.body != before && !oldText)
                    oldText = before;
            }
        }
        for (size_t i = 0; i < request.lines.size(); ++i)
            if (stillToAdd[i] && line.body.find(request.lines[i]) != std::string::npos)
                stillToAdd[i] = false;
        if (oldText)
            result.logLines.push_back(lexical::logline::autoexec(*oldText, line.body));
    }

    // Added lines go before the last line, which often starts Windows.
    std::vector<TextLine> added;
    auto add = [&](std::string text) {
        result.logLines.push_back(lexical::logline::autoexec("", text));
        added.push_back({std::move(text), file.newLine});
    };
    if (!pathDone) {
        std::string text = "PATH=";
        for (const std::string& dir : request.pathDirectories)
            text += dir + ";";
        add(std::move(text));
    }
    for (size_t i = 0; i < request.lines.size(); ++i)
        if (stillToAdd[i])
            add(request.lines[i]);
    if (shareWanted)
        add("SHARE" + shareOptions(shareFiles, shareLocks));

    const auto at = file.lines.empty() ? file.lines.end() : file.lines.end() - 1;
    file.lines.insert(at, added.begin(), added.end());
    result.text = file.join();
    return result;
}

} // namespace kestrel::sysedit
