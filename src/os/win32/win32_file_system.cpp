// Files on the Windows API.
#include "os/file_system.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

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
};

} // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

} // namespace kestrel::os
