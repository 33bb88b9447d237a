// What every item parser gives back, in one shape: whether the line (or the block) is a script
// error, what a lenient reading accepted and an author may want to hear about, and the item as
// far as it was read. The interpreter stops at an error; it passes the warnings to its caller
// with their line numbers, and the installer goes on regardless of them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::lexical {

struct ParseWarning {
    std::string message;
    // Lines after the command's own line (a line of its block), and that line's text; 0 and
    // empty for the command's own line.
    int32_t lineOffset = 0;
    std::string line;
};

struct ParseStatus {
    bool error = false; // the line is a script error
    std::vector<ParseWarning> warnings;

    bool ok() const { return !error; }
    void warn(std::string message, int32_t lineOffset = 0, std::string line = {}) {
        warnings.push_back({std::move(message), lineOffset, std::move(line)});
    }
};

// A status that makes the line a script error.
inline ParseStatus parseError() {
    ParseStatus status;
    status.error = true;
    return status;
}

// The result of a parser that makes one item.
template <typename T> struct Parsed : ParseStatus { T item; };

} // namespace kestrel::lexical
