// INI files on the system's profile functions. Every read grows its buffer until the whole
// answer fits, so no value, key list or section list is ever cut short.
#include "os/profile.h"

#include <windows.h>

#include <functional>

namespace kestrel::os {
namespace {

// Largest answer read; a profile file holds at most a few megabytes.
constexpr DWORD kLargestRead = 1u << 24;

// read fills a buffer of the given size and returns what the profile function returned; full
// is the result that means the buffer was too small.
std::optional<std::string> readWhole(const std::function<DWORD(char*, DWORD)>& read,
                                     DWORD fullMargin) {
    for (DWORD size = 1024; size <= kLargestRead; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = read(buffer.data(), size);
        if (length + fullMargin < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return std::nullopt;
}

// The names of a zero-separated list ("a\0b\0\0"), compared without regard to case.
bool listHolds(const std::string& list, const std::string& name) {
    for (size_t at = 0; at < list.size();) {
        const size_t end = list.find('\0', at);
        const std::string entry = list.substr(at, end - at);
        if (lstrcmpiA(entry.c_str(), name.c_str()) == 0)
            return true;
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return false;
}

class Win32Profile final : public Profile {
  public:
    std::optional<std::string> readValue(const std::string& file, const std::string& section,
                                         const std::string& key) override {
        // A key is told from one with an empty value by the section's key list, not by a
        // default text that a value could equal.
        const std::optional<std::string> keys = readWhole(
            [&](char* buffer, DWORD size) {
                return GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size,
                                                file.c_str());
            },
            2);
        if (!keys || !listHolds(*keys, key))
            return std::nullopt;
        return readWhole(
            [&](char* buffer, DWORD size) {
                return GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, size,
                                                file.c_str());
            },
            1);
    }

    bool sectionExists(const std::string& file, const std::string& section) override {
        const std::optional<std::string> sections = readWhole(
            [&](char* buffer, DWORD size) {
                return GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
            },
            2);
        return sections && listHolds(*sections, section);
    }

    bool writeValue(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) override {
        return write(file, section.c_str(), key.c_str(), value.c_str());
    }

    bool deleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override {
        return write(file, section.c_str(), key.c_str(), nullptr);
    }

    bool deleteSection(const std::string& file, const std::string& section) override {
        return write(file, section.c_str(), nullptr, nullptr);
    }

  private:
    // Writes and then flushes the system's cache of the file, so the change is on disk.
    static bool write(const std::string& file, const char* section, const char* key,
                      const char* value) {
        const bool written = WritePrivateProfileStringA(section, key, value, file.c_str()) != 0;
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        return written;
    }
};

} // namespace

std::unique_ptr<Profile> makeNativeProfile() {
    return std::make_unique<Win32Profile>();
}

} // namespace kestrel::os
