// Reading on past short reads: a file may hand out fewer bytes than asked for at any call
// (a member of the packed installation file at a chunk's end, a pipe, a slow medium).
#pragma once

#include "os/file_system.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrel::os {

// Reads up to count bytes from the position, going on after short reads: the number read
// (below count only at the end of the file), or -1 on an error.
int64_t readFully(InputFile& file, void* buffer, size_t count);
// Everything from the position to the end; nothing on a read error.
std::optional<std::string> readToEnd(InputFile& file);

} // namespace kestrel::os
