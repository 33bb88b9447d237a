// How wide a screen line is. Screen blocks are measured while they are read so that the dialog
// made from them is wide enough for its longest line; the plug-in measures with the block's
// font on the screen, tests with a fixed width per character.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::ui {

// A font to measure in. Screen blocks are measured at the face's default height and normal
// weight, whatever size their dialog uses later; the title at the height it is drawn at.
struct MeasureFont {
    std::string face;
    bool italic = false;
    bool underline = false;
    int height = 0; // character height in pixels; 0 is the face's default
    int weight = 400;
};

class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    // Average character width, in pixels, of the system font: the unit of a block's width.
    virtual int baseCharWidth() = 0;
    // Width in pixels of text drawn in font (code page 1252 characters).
    virtual int textWidth(const MeasureFont& font, std::string_view text) = 0;
};

} // namespace kestrel::ui
