#include "lexical/line_words.h"

#include "lexical/ansi_text.h"

namespace kestrel::lexical {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t skipBlanks(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i;
}

template <typename Belongs> std::string_view leadingWord(std::string_view line, Belongs belongs) {
    const size_t start = skipBlanks(line);
    size_t end = start;
    while (end < line.size() && belongs(line[end]))
        ++end;
    return line.substr(start, end - start);
}

} // namespace

std::string_view leadingAlphanumericWord(std::string_view line) {
    return leadingWord(line, isAnsiLetterOrDigit);
}

std::string_view leadingBlankDelimitedWord(std::string_view line) {
    return leadingWord(line, [](char c) { return !isBlank(c); });
}

std::string_view leadingLetterWord(std::string_view line) {
    return leadingWord(line, isAnsiLetter);
}

std::string_view trimBlanks(std::string_view text) {
    text.remove_prefix(skipBlanks(text));
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace kestrel::lexical
