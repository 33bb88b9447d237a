// Files on the Windows API.
#include "os/file_system.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

#include <cstdio>

namespace kestrel::os {
namespace {

using win32::FileHandle;

FileHandle openExisting(const std::string& path, DWORD access, DWORD share) {
    return FileHandle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

class Win32InputFile final : public InputFile {
  public:
    explicit Win32InputFile(FileHandle handle) : handle_(std::move(handle)) {}

    int32_t read(void* buffer, uint32_t count) override {
        DWORD got = 0;
        if (!ReadFile(handle_.get(), buffer, count, &got, nullptr)) {
            return -1;
        }
        return static_cast<int32_t>(got);
    }

    int64_t seek(int64_t offset, SeekOrigin origin) override {
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        LARGE_INTEGER result;
        if (!SetFilePointerEx(handle_.get(), distance, &result, static_cast<DWORD>(origin))) {
            return -1;
        }
        return result.QuadPart;
    }

    int64_t tell() override { return seek(0, SeekOrigin::Current); }

  private:
    FileHandle handle_;
};

class Win32OutputFile final : public OutputFile {
  public:
    explicit Win32OutputFile(FileHandle handle) : handle_(std::move(handle)) {}

    int32_t write(const void* buffer, uint32_t count) override {
        DWORD written = 0;
        if (!WriteFile(handle_.get(), buffer, count, &written, nullptr) || written != count) {
            return -1;
        }
        return static_cast<int32_t>(written);
    }

  private:
    FileHandle handle_;
};

class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<InputFile> openForReading(const std::string& path) override {
        FileHandle handle = openExisting(path, GENERIC_READ, FILE_SHARE_READ);
        if (!handle.valid()) {
            return nullptr;
        }
        return std::make_unique<Win32InputFile>(std::move(handle));
    }

    std::unique_ptr<OutputFile> createForWriting(const std::string& path) override {
        FileHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle.valid()) {
            return nullptr;
        }
        return std::make_unique<Win32OutputFile>(std::move(handle));
    }

    std::optional<DosDateTime> readDosDateTime(const std::string& path) override {
        FileHandle handle = openExisting(path, GENERIC_READ, FILE_SHARE_READ);
        FILETIME written;
        if (!handle.valid() || !GetFileTime(handle.get(), nullptr, nullptr, &written)) {
            return std::nullopt;
        }
        WORD date = 0;
        WORD time = 0;
        if (!FileTimeToDosDateTime(&written, &date, &time)) {
            return std::nullopt;
        }
        return DosDateTime{date, time};
    }

    bool setDosDateTime(const std::string& path, DosDateTime stamp) override {
        FILETIME written;
        if (!DosDateTimeToFileTime(stamp.date, stamp.time, &written)) {
            return false;
        }
        FileHandle handle =
            openExisting(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        return handle.valid() && SetFileTime(handle.get(), nullptr, nullptr, &written);
    }

    std::optional<uint32_t> readAttributes(const std::string& path) override {
        DWORD value = GetFileAttributesA(path.c_str());
        if (value == INVALID_FILE_ATTRIBUTES) {
            return std::nullopt;
        }
        return value;
    }

    bool setAttributes(const std::string& path, uint32_t attributes) override {
        return SetFileAttributesA(path.c_str(), attributes) != 0;
    }

    bool createDirectories(const std::string& path) override {
        // Every prefix that ends before a separator; failures on the drive root or on a
        // directory that already exists are expected, so only the final check counts.
        for (size_t i = 1; i < path.size(); ++i) {
            if (path[i] == '\\' || path[i] == '/') {
                CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
            }
        }
        CreateDirectoryA(path.c_str(), nullptr);
        DWORD attrs = GetFileAttributesA(path.c_str());
        return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::unique_ptr<OutputFile> openForAppend(const std::string& path) override {
        // Append-only access: every write goes to the end, whoever else appended meanwhile.
        FileHandle handle(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle.valid()) {
            return nullptr;
        }
        return std::make_unique<Win32OutputFile>(std::move(handle));
    }

    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& dir) override {
        std::string pattern = dir;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/' &&
            pattern.back() != ':') {
            pattern += '\\';
        }
        pattern += '*';
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            // An empty drive root has no entry at all, not even "."; that is still a listing.
            return GetLastError() == ERROR_FILE_NOT_FOUND
                       ? std::optional(std::vector<DirectoryEntry>{})
                       : std::nullopt;
        }
        std::vector<DirectoryEntry> entries;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") {
                entries.push_back({std::move(name), found.dwFileAttributes});
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return entries;
    }

    bool createDirectory(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) != 0;
    }

    std::optional<UniqueFile> createUniqueFile(const std::string& directory,
                                               const std::string& stem) override {
        std::string prefix = directory;
        if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != ':') {
            prefix += '\\';
        }
        prefix += stem;
        for (unsigned counter = 0; counter < 10000; ++counter) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%04u", counter);
            std::string path = prefix + digits + ".tmp";
            FileHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
            if (handle.valid()) {
                return UniqueFile{std::move(path),
                                  std::make_unique<Win32OutputFile>(std::move(handle))};
            }
            DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return std::nullopt; // no such directory, no access: another name won't help
            }
        }
        return std::nullopt;
    }

    bool replaceFile(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool moveFile(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool copyFile(const std::string& from, const std::string& to) override {
        return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
    }

    bool deleteFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

    bool sameFile(const std::string& a, const std::string& b) override {
        BY_HANDLE_FILE_INFORMATION first;
        BY_HANDLE_FILE_INFORMATION second;
        if (!fileInformation(a, first) || !fileInformation(b, second)) {
            return false;
        }
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    }

    std::optional<std::string> currentDirectory() override {
        std::string buffer(MAX_PATH, '\0');
        for (;;) {
            DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
            if (length == 0) {
                return std::nullopt;
            }
            if (length < buffer.size()) {
                buffer.resize(length);
                return buffer;
            }
            buffer.resize(length); // too small: length is the size needed
        }
    }

  private:
    static bool fileInformation(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        // No access rights needed; backup semantics let a directory be opened too.
        FileHandle handle(CreateFileA(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return handle.valid() && GetFileInformationByHandle(handle.get(), &info);
    }
};

} // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

} // namespace kestrel::os
