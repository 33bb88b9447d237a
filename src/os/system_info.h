// What the machine tests of a script ask about the computer itself: its physical memory and
// its display. Both are read afresh at each test.
#pragma once

#include <cstdint>

namespace kestrel::os {

// The display as its device context describes it.
struct DisplayMode {
    uint32_t bitsPerPixel = 0;
    uint32_t colourPlanes = 0;
    uint32_t width = 0;  // horizontal resolution in pixels
    uint32_t height = 0; // vertical resolution in pixels
};

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    // Total physical memory in bytes.
    virtual uint64_t totalPhysicalMemory() = 0;
    virtual DisplayMode displayMode() = 0;
};

} // namespace kestrel::os
