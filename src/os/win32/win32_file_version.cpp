// The FileVersion text of a program file's version information.
#include "os/native_machine.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace kestrel::os {
namespace {

std::optional<std::string> stringValue(const std::vector<char>& info, const std::string& table,
                                       const char* name) {
    const std::string query = "\\StringFileInfo\\" + table + "\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || !value || length == 0)
        return std::nullopt;
    std::string text(static_cast<const char*>(value),
                     strnlen(static_cast<const char*>(value), length));
    if (text.empty())
        return std::nullopt;
    return text;
}

// US English in the Windows code page, then US English in Unicode, then whatever languages
// the file itself lists.
std::vector<std::string> tablesToTry(const std::vector<char>& info) {
    std::vector<std::string> tables{"040904E4", "040904B0"};
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) && value) {
        const auto* pairs = static_cast<const WORD*>(value);
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
            char table[9];
            std::snprintf(table, sizeof table, "%04X%04X", pairs[i], pairs[i + 1]);
            tables.emplace_back(table);
        }
    }
    return tables;
}

class Win32FileVersionReader final : public FileVersionReader {
  public:
    // The whole text, at any length: no fixed buffer to overflow or to cut it short.
    std::optional<std::string> versionString(const std::string& path) override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0)
            return std::nullopt;
        std::vector<char> info(size);
        if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data()))
            return std::nullopt;
        for (const std::string& table : tablesToTry(info)) {
            if (auto version = stringValue(info, table, "FileVersion"))
                return version;
        }
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<FileVersionReader> makeNativeFileVersionReader() {
    return std::make_unique<Win32FileVersionReader>();
}

} // namespace kestrel::os
