#include "sysedit/text_file_lines.h"

#include "lexical/ansi_text.h"

namespace kestrel::sysedit {

namespace {

constexpr char kCtrlZ = '\x1a';

bool isBlankOrEquals(char c) {
    return c == ' ' || c == '\t' || c == '=';
}

} // namespace

std::string TextFileLines::join() const {
    std::string bytes;
    for (const TextLine& line : lines) {
        bytes += line.body;
        bytes += line.end;
    }
    bytes += tail;
    return bytes;
}

void TextFileLines::endLastLine() {
    if (!lines.empty() && lines.back().end.empty())
        lines.back().end = newLine;
}

TextFileLines splitTextFile(std::string_view bytes) {
    TextFileLines file;
    const size_t ctrlZ = bytes.find(kCtrlZ);
    if (ctrlZ != std::string_view::npos) {
        file.tail = std::string(bytes.substr(ctrlZ));
        bytes = bytes.substr(0, ctrlZ);
    }
    while (!bytes.empty()) {
        const size_t feed = bytes.find('\n');
        TextLine line;
        if (feed == std::string_view::npos) {
            line.body = std::string(bytes);
            bytes = {};
        } else {
            const bool crlf = feed > 0 && bytes[feed - 1] == '\r';
            line.body = std::string(bytes.substr(0, crlf ? feed - 1 : feed));
            line.end = crlf ? "\r\n" : "\n";
            bytes.remove_prefix(feed + 1);
        }
        if (file.newLine.empty())
            file.newLine = line.end;
        file.lines.push_back(std::move(line));
    }
    if (file.newLine.empty())
        file.newLine = "\r\n";
    return file;
}

size_t afterCommandWord(std::string_view line, std::string_view word) {
    size_t at = 0;
    while (at < line.size() && isBlankOrEquals(line[at]))
        ++at;
    if (at < line.size() && line[at] == '@')
        ++at;
    if (!lexical::startsWithIgnoringAsciiCase(line.substr(at), word))
        return std::string_view::npos;
    at += word.size();
    if (at >= line.size() || !isBlankOrEquals(line[at]))
        return std::string_view::npos;
    return at;
}

size_t skipBlanksAndEquals(std::string_view line, size_t from) {
    while (from < line.size() && isBlankOrEquals(line[from]))
        ++from;
    return from;
}

} // namespace kestrel::sysedit
