// The plug-in window's backdrop: one flat colour, or a vertical gradient from the top screen
// colour to the bottom one in bands 8 pixels high. A window of height H has H / 8 steps and
// H / 8 + 1 bands, the last one reaching past the window's bottom edge (the drawing clips it);
// each band's colour is the one before less the per-component step (top - bottom) / steps,
// kept within 0..255.
#pragma once

#include "ui/colour.h"

#include <cstdint>
#include <vector>

namespace kestrel::ui {

inline constexpr int32_t kBandHeight = 8;
inline constexpr int32_t kMaxPaintedHeight = 65535;

// Rows [top, bottom) across the whole width, in one colour.
struct Band {
    int32_t top = 0;
    int32_t bottom = 0;
    Colour colour;
    friend bool operator==(const Band&, const Band&) = default;
};

// The bands that paint a client area windowHeight pixels high. Equal colours give one band
// over the whole height, and so does a window under 8 pixels high (in the top colour: with
// no whole band there is no step to take). An empty window gives no band; rows below
// kMaxPaintedHeight are not painted.
std::vector<Band> backgroundBands(Colour top, Colour bottom, int32_t windowHeight);

} // namespace kestrel::ui
