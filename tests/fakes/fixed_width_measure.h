// Measures every character as the same number of pixels, whatever the font, and records the
// fonts it was asked to measure in.
#pragma once

#include "ui/text_measure.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::test {

class FixedWidthMeasure : public ui::TextMeasure {
  public:
    FixedWidthMeasure(int pixelsPerCharacter, int baseCharWidth)
        : pixelsPerCharacter_(pixelsPerCharacter), baseCharWidth_(baseCharWidth) {}

    int baseCharWidth() override { return baseCharWidth_; }
    int textWidth(const ui::MeasureFont& font, std::string_view text) override {
        faces.push_back(font.face);
        return pixelsPerCharacter_ * static_cast<int>(text.size());
    }

    std::vector<std::string> faces;

  private:
    int pixelsPerCharacter_;
    int baseCharWidth_;
};

} // namespace kestrel::test
