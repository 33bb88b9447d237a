// Lines of a text file as the text tests read them: the file is read in text mode (a carriage
// return before a line feed is dropped; a Ctrl-Z ends the text) and handed out in pieces of at
// most 997 characters, so a longer line comes back as several pieces, each counted as a line.
#pragma once

#include "os/file_system.h"

#include <array>
#include <cstddef>
#include <string>

namespace kestrel::script {

class TextLineReader {
  public:
    static constexpr size_t kPieceCapacity = 997;

    explicit TextLineReader(os::InputFile& file) : file_(file) {}

    // The next piece into line, its line feed kept when it ends a line. False at the end of
    // the text or on a read error, with line empty.
    bool next(std::string& line);

  private:
    int nextByte();
    int peekByte();

    os::InputFile& file_;
    std::array<char, 4096> buffer_{};
    size_t size_ = 0;
    size_t index_ = 0;
    bool ended_ = false;
};

} // namespace kestrel::script
