#include "script/deferred_block.h"

#include "script/ansi_text.h"

namespace kestrel::script {

namespace {

size_t skipBlanks(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return i;
}

} // namespace

bool DeferredBlock::append(std::string_view line) {
    if (full())
        return false;
    lines_.emplace_back(line.substr(0, kLineCapacity));
    return true;
}

std::string_view leadingAlphanumericWord(std::string_view line) {
    const size_t start = skipBlanks(line);
    size_t end = start;
    while (end < line.size() && isAnsiLetterOrDigit(line[end]))
        ++end;
    return line.substr(start, end - start);
}

std::string_view leadingBlankDelimitedWord(std::string_view line) {
    const size_t start = skipBlanks(line);
    size_t end = start;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t')
        ++end;
    return line.substr(start, end - start);
}

} // namespace kestrel::script
