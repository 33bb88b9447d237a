#include "ui/colour.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/warning_texts.h"

#include <array>
#include <string>

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

// Three numbers, read as every number word of a line is read.
void parseComponents(std::string_view text, Colour& colour, lexical::ParseStatus& status) {
    lexical::FieldCursor numbers(text);
    std::array<uint8_t, 3> components{};
    bool missing = false;
    for (uint8_t& component : components) {
        const std::string word =
            numbers.readWord().substr(0, lexical::FieldCursor::kNumberWordCapacity);
        const lexical::LeadingNumber<int32_t> number = lexical::leadingInteger(word);
        component = lowByte(number.value);
        missing = missing || word.empty();
        if (!word.empty() && (!number.plain || number.value < 0 || number.value > 255))
            status.warn(
                lexical::warnings::notANumber("colour number", word, std::to_string(component)) +
                " (its low byte)");
    }
    if (missing)
        status.warn("colour with fewer than three numbers: the missing ones read as 0");
    colour = {components[0], components[1], components[2]};
}

} // namespace

lexical::ParseStatus parseColour(std::string_view text, Colour& colour) {
    lexical::ParseStatus status;
    if (text.find(',') != std::string_view::npos) {
        parseComponents(text, colour, status);
        return status;
    }
    for (const NamedColour& named : kColourNames) {
        if (lexical::equalsIgnoringAsciiCase(text, named.name)) {
            colour = named.colour;
            return status;
        }
    }
    status.warn(text.empty()
                    ? std::string("no colour: the colour is left as it was")
                    : "unknown colour \"" + std::string(text) + "\": the colour is left as it was");
    return status;
}

} // namespace kestrel::ui
