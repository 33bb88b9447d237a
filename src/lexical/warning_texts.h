// Warnings for what the installer accepts by a lenient reading: the script goes on exactly as
// the language reads it, and `kst check` tells the author. The readings many commands share are
// worded here once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kestrel::lexical::warnings {

inline constexpr std::string_view kUnterminatedQuote =
    "unterminated quote: the field reads as empty and takes the rest of the line";
inline constexpr std::string_view kTextIgnored = "text after the command's fields is ignored";
inline constexpr std::string_view kConditionTextIgnored = "text after the condition is ignored";
inline constexpr std::string_view kNulByte = "NUL byte: the line ends there";

// A number as a warning shows what a word was read as: "12", "3.1", never "12.000000".
inline std::string numberText(int32_t value) {
    return std::to_string(value);
}
inline std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// A word read as a number that is not just that number: "12abc" is 12, "abc" and nothing 0.
inline std::string notANumber(std::string_view what, std::string_view word,
                              std::string_view readAs) {
    if (word.empty())
        return "no " + std::string(what) + ": read as " + std::string(readAs);
    return std::string(what) + " \"" + std::string(word) + "\" is not a plain number: read as " +
           std::string(readAs);
}

// A field that must be quoted and is not: it reads as empty, the word stays for what follows.
inline std::string unquoted(std::string_view what) {
    return "unquoted " + std::string(what) + ": read as empty";
}

} // namespace kestrel::lexical::warnings
