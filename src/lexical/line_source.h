// Where block commands (registry blocks, screen blocks, groups, pop messages) take the lines
// that follow their keyword: the script reader in the main pass, or a deferred block's stored
// lines in the deferred pass. Block parsers depend on this and not on the reader itself.
#pragma once

#include <string>

namespace kestrel::lexical {

enum LineResult : int {
    // Values above 0 deliver a line: 1 in the main pass, the line's number in the deferred pass.
    kLineEnd = 0,     // end of data, or the deferred block is exhausted
    kLineError = -1,  // block-structure error; the script's error flag is set
    kLineIgnore = -2, // the line belongs to the main pass only; read on
};

class LineSource {
  public:
    virtual ~LineSource() = default;
    // Reads the next line (at most 998 characters, no line feed) into `line`.
    virtual int readScriptLine(std::string& line) = 0;
    // While on, deferred lines are served without the main-pass keyword filter (screen text).
    virtual void setPlainRead(bool on) = 0;
};

} // namespace kestrel::lexical
