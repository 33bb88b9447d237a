// Free space and labels of the disks an installation writes to or reads from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrel::os {

class Volumes {
  public:
    virtual ~Volumes() = default;
    // Bytes this user may still write on the volume that holds path, which need not exist yet
    // (its nearest existing parent decides). Nothing when no such volume can be read.
    virtual std::optional<uint64_t> freeBytes(const std::string& path) = 0;
    // The label of the disk in drive letter ('A'..'Z', either case); empty for a disk without
    // one. Nothing when the drive does not exist or holds no disk.
    virtual std::optional<std::string> volumeLabel(char letter) = 0;
};

} // namespace kestrel::os
