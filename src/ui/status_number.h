// The browser's status window shows the download's progress as a number; the status watcher
// reads it back from the window's text.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrel::ui {

// text as a signed decimal number: leading white space and one sign skipped, digits up to the
// first other character; no digits give 0, and a number beyond 32 bits gives the nearest
// 32-bit value.
int32_t statusNumber(std::string_view text);

} // namespace kestrel::ui
