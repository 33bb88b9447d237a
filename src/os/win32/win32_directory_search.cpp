// Directories and file searches for the isfile and locate tests.
#include "os/native_machine.h"
#include "os/wildcard_match.h"
#include "os/win32/silent_drive_errors.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

namespace kestrel::os {
namespace {

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The system's own case rules, as its file searches apply them.
std::string upperCase(std::string text) {
    if (!text.empty())
        CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string lastComponent(const std::string& path) {
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Calls visit for every entry of a search but "." and ".."; visit returns false to stop.
// False when the search could not be made at all (ERROR_FILE_NOT_FOUND: nothing matched).
template <typename Visit> bool forEachEntry(const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAA entry;
    win32::FindHandle search(FindFirstFileA(pattern.c_str(), &entry));
    if (!search.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (!isDotEntry(entry.cFileName) && !visit(entry))
            break;
    } while (FindNextFileA(search.get(), &entry));
    return true;
}

class Win32DirectorySearch final : public DirectorySearch {
  public:
    bool directoryExists(const std::string& path) override {
        if (path.empty())
            return false;
        win32::SilentDriveErrors quiet;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool anyEntryMatches(const std::string& pattern) override {
        win32::SilentDriveErrors quiet;
        const std::string wanted = lastComponent(pattern);
        // A name without wildcards is looked up as given, so an 8.3 name still finds its file.
        const bool exactName = !hasWildcard(wanted);
        const std::string folded = upperCase(wanted);
        bool found = false;
        forEachEntry(pattern, [&](const WIN32_FIND_DATAA& entry) {
            found = exactName || wildcardMatches(folded, upperCase(entry.cFileName));
            return !found;
        });
        return found;
    }

    std::optional<std::vector<std::string>> subdirectories(const std::string& directory) override {
        // An empty directory listing and a missing directory must not look alike.
        if (!directoryExists(directory))
            return std::nullopt;
        win32::SilentDriveErrors quiet;
        std::string pattern = directory;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != ':')
            pattern += '\\';
        pattern += '*';
        std::vector<std::string> names;
        const bool listed = forEachEntry(pattern, [&](const WIN32_FIND_DATAA& entry) {
            // A junction or symbolic link may lead back up the tree: never follow one.
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                names.push_back(entry.cFileName);
            return true;
        });
        if (!listed)
            return std::nullopt;
        return names;
    }
};

} // namespace

std::unique_ptr<DirectorySearch> makeNativeDirectorySearch() {
    return std::make_unique<Win32DirectorySearch>();
}

} // namespace kestrel::os
