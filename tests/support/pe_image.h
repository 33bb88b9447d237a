// Reads what a test needs to know about a Windows program or DLL from its bytes alone, on any
// platform: the machine it is built for, whether it is a DLL, its exported names, its version
// information and its dialog resources. Every offset is checked against the file, so a
// damaged file gives an error, never a read outside it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {

inline constexpr uint16_t kMachineI386 = 0x14c;
inline constexpr uint16_t kMachineAmd64 = 0x8664;

struct PeExport {
    std::string name;
    // No decoration of a calling convention or of C++: no '@' (stdcall "F@8", fastcall
    // "@F@8"), no '?' (C++), no leading '_' (cdecl on i686, "_Z" C++).
    bool undecorated = false;
    friend bool operator==(const PeExport&, const PeExport&) = default;
};

// Four 16-bit parts, most significant first: 1.2.3.4.
using PeVersion = std::array<uint16_t, 4>;

struct PeImage {
    uint16_t machine = 0;
    bool isDll = false;
    std::vector<PeExport> exports;        // in the export table's (sorted) name order
    std::vector<uint16_t> dialogIds;      // numbered RT_DIALOG resources, in resource order
    std::optional<PeVersion> fileVersion; // from the fixed part of the version information
    // String tables of the version information by key (in capitals: "040904E4"), each
    // name -> value, in UTF-8.
    std::map<std::string, std::map<std::string, std::string>> versionStrings;

    // A value of the table with key, or nothing.
    std::optional<std::string> versionString(const std::string& table,
                                             const std::string& name) const;
    const PeExport* findExport(const std::string& name) const;
    friend bool operator==(const PeImage&, const PeImage&) = default;
};

// The image, or nothing with the reason in error.
std::optional<PeImage> readPeImage(const std::vector<uint8_t>& bytes, std::string& error);
std::optional<PeImage> readPeFile(const std::string& path, std::string& error);

} // namespace kestrel::test
