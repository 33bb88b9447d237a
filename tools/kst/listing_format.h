// How kst prints members: DOS dates and times as ISO text, attributes as letters.
#pragma once

#include "os/file_system.h"

#include <cstdint>
#include <string>

namespace kst {

std::string formatDosDate(uint16_t date);          // "1997-06-15"
std::string formatDosTime(uint16_t time);          // "13:45:58"
std::string formatAttributes(uint32_t attributes); // "RHSA" letters, "-" where unset

} // namespace kst
