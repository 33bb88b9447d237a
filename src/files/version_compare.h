// Which of two version strings of program files is newer. Versions such as "1.10" and "1.9"
// are dotted numbers and compare field by field (1.10 is newer; a missing field counts as 0,
// so 1.0 equals 1.0.0). Only a string that is not of that form compares as text, without
// regard to case.
#pragma once

#include <string_view>

namespace kestrel::files {

// <0 when a is older than b, 0 when they are the same version, >0 when a is newer.
int compareVersions(std::string_view a, std::string_view b);

} // namespace kestrel::files
