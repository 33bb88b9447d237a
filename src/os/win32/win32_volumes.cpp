// Drive letters, free space and volume labels: the volume functions of the system.
#include "os/native_machine.h"
#include "os/win32/silent_drive_errors.h"

#include <windows.h>

#include <iterator>

namespace kestrel::os {
namespace {

std::optional<std::string> rootOf(char letter) {
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z')
        return std::nullopt;
    return std::string{letter, ':', '\\'};
}

class Win32Drives final : public Drives {
  public:
    DriveType driveType(char letter) override {
        const auto root = rootOf(letter);
        if (!root)
            return DriveType::Missing;
        // By GetDriveType's answer, DRIVE_UNKNOWN (0) to DRIVE_RAMDISK (6).
        constexpr DriveType kinds[] = {DriveType::Unknown, DriveType::Missing, DriveType::Removable,
                                       DriveType::Fixed,   DriveType::Network, DriveType::CdRom,
                                       DriveType::RamDisk};
        const UINT kind = GetDriveTypeA(root->c_str());
        return kind < std::size(kinds) ? kinds[kind] : DriveType::Unknown;
    }
};

// "C:\A\B" -> "C:\A\"; nothing once only a root or a bare name is left.
std::optional<std::string> parentDirectory(std::string directory) {
    while (!directory.empty() && directory.back() == '\\')
        directory.pop_back();
    const size_t cut = directory.rfind('\\');
    if (cut == std::string::npos || cut == 0)
        return std::nullopt;
    return directory.substr(0, cut + 1);
}

class Win32Volumes final : public Volumes {
  public:
    std::optional<uint64_t> freeBytes(const std::string& path) override {
        if (path.empty())
            return std::nullopt;
        win32::SilentDriveErrors quiet;
        std::optional<std::string> directory = path;
        // A destination is measured before it is created: walk up to what exists.
        while (directory) {
            if (directory->empty() || directory->back() != '\\')
                *directory += '\\';
            ULARGE_INTEGER available;
            if (GetDiskFreeSpaceExA(directory->c_str(), &available, nullptr, nullptr))
                return available.QuadPart;
            directory = parentDirectory(*directory);
        }
        return std::nullopt;
    }

    std::optional<std::string> volumeLabel(char letter) override {
        const auto root = rootOf(letter);
        if (!root)
            return std::nullopt;
        win32::SilentDriveErrors quiet;
        char label[MAX_PATH + 1] = {};
        if (!GetVolumeInformationA(root->c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                                   nullptr, 0))
            return std::nullopt;
        return std::string(label);
    }
};

} // namespace

std::unique_ptr<Drives> makeNativeDrives() {
    return std::make_unique<Win32Drives>();
}

std::unique_ptr<Volumes> makeNativeVolumes() {
    return std::make_unique<Win32Volumes>();
}

} // namespace kestrel::os
