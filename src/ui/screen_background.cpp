#include "ui/screen_background.h"

#include <algorithm>

namespace kestrel::ui {

namespace {

uint8_t stepped(uint8_t value, int step) {
    return uint8_t(std::clamp(int(value) - step, 0, 255));
}

} // namespace

std::vector<Band> backgroundBands(Colour top, Colour bottom, int32_t windowHeight) {
    if (windowHeight <= 0)
        return {};
    // No window is this tall; the bound keeps the band list and its row numbers small.
    windowHeight = std::min(windowHeight, kMaxPaintedHeight);
    const int32_t steps = windowHeight / kBandHeight;
    if (top == bottom || steps == 0)
        return {Band{0, windowHeight, top}};

    // Integer division keeps the sign: a gradient may brighten towards the bottom.
    const int stepRed = (int(top.red) - int(bottom.red)) / steps;
    const int stepGreen = (int(top.green) - int(bottom.green)) / steps;
    const int stepBlue = (int(top.blue) - int(bottom.blue)) / steps;
    std::vector<Band> bands;
    bands.reserve(size_t(steps) + 1);
    Colour colour = top;
    for (int32_t i = 0; i <= steps; ++i) {
        bands.push_back(Band{i * kBandHeight, (i + 1) * kBandHeight, colour});
        colour = Colour{stepped(colour.red, stepRed), stepped(colour.green, stepGreen),
                        stepped(colour.blue, stepBlue)};
    }
    return bands;
}

} // namespace kestrel::ui
