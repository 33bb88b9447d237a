// Colours of the title and the screen gradient as a script writes them: a name (Black, Blue,
// Green, Cyan, Red, Magenta, Yellow, White, in any case) or three numbers for red, green and
// blue separated by commas, such as 255,128,0.
#pragma once

#include "lexical/parse_result.h"

#include <cstdint>
#include <string_view>

namespace kestrel::ui {

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend bool operator==(const Colour&, const Colour&) = default;
};

// Reads text into colour. Text with a comma gives three numbers, each kept as its low byte (a
// missing one reads as 0); otherwise text is a colour name, and an unknown name leaves colour
// as it was. Never an error: the warnings say what was read in an odd way.
lexical::ParseStatus parseColour(std::string_view text, Colour& colour);

} // namespace kestrel::ui
