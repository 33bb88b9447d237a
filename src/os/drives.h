// The drive letters A..Z and what kind of drive stands behind each, for searches that look
// at fixed or network drives only.
#pragma once

namespace kestrel::os {

enum class DriveType {
    Unknown,
    Missing, // no drive (or no root directory) behind the letter
    Removable,
    Fixed,
    Network,
    CdRom,
    RamDisk,
};

class Drives {
  public:
    virtual ~Drives() = default;
    // letter is 'A'..'Z' (either case).
    virtual DriveType driveType(char letter) = 0;
};

} // namespace kestrel::os
