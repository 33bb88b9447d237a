// The answer typed into an ASK dialog, as the script's $ASKn$ value takes it.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::ui {

// What the answer's edit box holds at most; the window side limits the box to it, so that
// nothing typed is cut afterwards.
inline constexpr size_t kAskAnswerCapacity = 498;

// typed without its leading blanks, tabs, line breaks, commas and parentheses (the
// separators of a script line); the rest, trailing ones included, is kept.
std::string askAnswer(std::string_view typed);

} // namespace kestrel::ui
