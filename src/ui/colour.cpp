#include "ui/colour.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"

namespace kestrel::ui {

namespace {

struct NamedColour {
    std::string_view name;
    Colour colour;
};

constexpr NamedColour kColourNames[] = {
    {"Black", {0, 0, 0}},      {"Blue", {0, 0, 255}},      {"Green", {0, 255, 0}},
    {"Cyan", {0, 255, 255}},   {"Red", {255, 0, 0}},       {"Magenta", {255, 0, 255}},
    {"Yellow", {255, 255, 0}}, {"White", {255, 255, 255}},
};

uint8_t lowByte(int32_t value) {
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF);
}

} // namespace

void parseColour(std::string_view text, Colour& colour) {
    if (text.find(',') != std::string_view::npos) {
        lexical::FieldCursor numbers(text);
        colour.red = lowByte(numbers.readNumber());
        colour.green = lowByte(numbers.readNumber());
        colour.blue = lowByte(numbers.readNumber());
        return;
    }
    for (const NamedColour& named : kColourNames) {
        if (lexical::equalsIgnoringAsciiCase(text, named.name)) {
            colour = named.colour;
            return;
        }
    }
}

} // namespace kestrel::ui
