// A text file as the rewrites see it: whole physical lines of any length, each with its own
// line end, and everything from the first Ctrl-Z on (the DOS end-of-file mark) kept apart so
// that it stays at the end, byte for byte. Joining the parts gives back the file's bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::sysedit {

struct TextLine {
    std::string body; // without its line end
    std::string end;  // "\r\n", "\n", or "" for a last line without one
};

struct TextFileLines {
    std::vector<TextLine> lines;
    std::string tail;    // from the first Ctrl-Z to the end of the file
    std::string newLine; // the line end for added lines: the file's own, else "\r\n"

    std::string join() const;
    // Ends the last line when it has no line end, so that a line can follow it.
    void endLastLine();
};

TextFileLines splitTextFile(std::string_view bytes);

// What a rewrite makes of a file: its new bytes, and the install-log lines that record the
// change, to be written once the new bytes are in place.
struct TextRewrite {
    std::string text;
    std::vector<std::string> logLines;
};

// The command word of a batch or CONFIG.SYS line: after blanks, tabs and "=" at the start and
// an optional "@", the word itself (compared without regard to case) followed by a blank, a
// tab or "=". Returns the offset just after the word, or npos when the line's command is
// another word ("PATHFIND.EXE", "FILESHIGH=40" are not PATH and FILES lines).
size_t afterCommandWord(std::string_view line, std::string_view word);
// The offset of the first character at or after from that is not a blank, a tab or "=".
size_t skipBlanksAndEquals(std::string_view line, size_t from);

} // namespace kestrel::sysedit
