// Points, sizes and rectangles in pixels (or dialog units where a caller says so), as the
// painting and placement arithmetic hands them to the window side. A rectangle's right and
// bottom edges are exclusive, as the window system's client rectangles are.
#pragma once

#include <cstdint>

namespace kestrel::ui {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace kestrel::ui
