// Where the lines of a screen block wait between reading and the building of their dialog.
// Each block is written at the store's position and taken by the template builder right
// after, which leaves the position behind it. Layout of one block:
//
//   byte 0   number of text lines (lines that are not blank)
//   byte 1   width in characters, 0..255
//   byte 2   number of lines, blank ones included
//   then     one record per line: a blank line is two 0 bytes; a text line is its length n
//            (1..255), its n characters and a 0 byte
//
// The one-byte fields bound a block to 255 lines of at most 255 characters; the store itself
// grows with the blocks it holds (the largest block takes 65,538 bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::ui {

// The lines of one screen block, as read.
struct ScreenBlock {
    static constexpr size_t kMaxLines = 255;
    static constexpr size_t kMaxLineLength = 255;
    static constexpr int kMaxWidth = 255;

    int width = 0;                  // characters; the longest line's measure, 0..255
    std::vector<std::string> lines; // a blank line is empty

    int textLineCount() const;
};

class TextStore {
  public:
    // Writes block at the position, replacing whatever lay there and behind it. False (and
    // nothing written) when the block breaks the bounds above.
    bool put(const ScreenBlock& block);
    // Reads the block at the position and moves the position behind it. False when no whole
    // block lies there.
    bool take(ScreenBlock& block);

    size_t position() const { return position_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

} // namespace kestrel::ui
