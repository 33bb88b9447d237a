// The file access the core needs from the operating system: reading source files and
// containers, writing installed files, and the DOS date, time and attributes that travel
// with them. Paths are Windows paths ("C:\DIR\FILE"); the POSIX side accepts either slash.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::os {

enum class SeekOrigin : int { Start = 0, Current = 1, End = 2 };

// FAT date and time words, as stored in containers and archives. No time zone is applied
// in either direction: a copied file keeps exactly its source's stamp.
struct DosDateTime {
    uint16_t date = 0;
    uint16_t time = 0;
    friend bool operator==(const DosDateTime&, const DosDateTime&) = default;
};

// Windows file attribute bits.
namespace attributes {
inline constexpr uint32_t ReadOnly = 0x01;
inline constexpr uint32_t Hidden = 0x02;
inline constexpr uint32_t System = 0x04;
inline constexpr uint32_t Directory = 0x10;
inline constexpr uint32_t Archive = 0x20;
inline constexpr uint32_t Normal = 0x80;
} // namespace attributes

class InputFile {
  public:
    virtual ~InputFile() = default;
    // Bytes read (0 at the end), or -1 on an error.
    virtual int32_t read(void* buffer, uint32_t count) = 0;
    // The new position, or -1 on an error.
    virtual int64_t seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t tell() = 0;
};

class OutputFile {
  public:
    virtual ~OutputFile() = default;
    // Bytes written, or -1 on an error (a short write counts as an error: a full disk).
    virtual int32_t write(const void* buffer, uint32_t count) = 0;
};

// One entry of a directory: its long name only (never the 8.3 alias) and its attribute bits.
struct DirectoryEntry {
    std::string name;
    uint32_t attributes = 0;
};

// A new file that no one else had, open for writing: the temporary file beside a destination.
struct UniqueFile {
    std::string path;
    std::unique_ptr<OutputFile> file;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Opened for reading; others may read the file meanwhile.
    virtual std::unique_ptr<InputFile> openForReading(const std::string& path) = 0;
    // Created or truncated.
    virtual std::unique_ptr<OutputFile> createForWriting(const std::string& path) = 0;
    virtual std::optional<DosDateTime> readDosDateTime(const std::string& path) = 0;
    virtual bool setDosDateTime(const std::string& path, DosDateTime stamp) = 0;
    virtual std::optional<uint32_t> readAttributes(const std::string& path) = 0;
    virtual bool setAttributes(const std::string& path, uint32_t attributes) = 0;
    // Makes every missing directory of a directory path.
    virtual bool createDirectories(const std::string& path) = 0;

    // Opened for writing at its end; created when missing.
    virtual std::unique_ptr<OutputFile> openForAppend(const std::string& path) = 0;
    // The entries of a directory, without "." and ".."; nothing when it cannot be read.
    virtual std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& dir) = 0;
    // Makes one directory whose parent exists; false when it could not (or exists already).
    virtual bool createDirectory(const std::string& path) = 0;
    // A file that did not exist before, named stem, four digits and ".tmp", in directory.
    // Nothing when no such file can be made there.
    virtual std::optional<UniqueFile> createUniqueFile(const std::string& directory,
                                                       const std::string& stem) = 0;
    // Puts from in place of to in one move, replacing to when it exists. Both lie in the same
    // directory; to keeps from's bytes and attributes.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
    // Moves or renames a file; false when to exists already.
    virtual bool moveFile(const std::string& from, const std::string& to) = 0;
    // Copies a file's bytes (and on Windows its attributes), replacing to when it exists.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // True when both paths name one existing file, however they are written.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // The process's current directory; nothing when it cannot be read.
    virtual std::optional<std::string> currentDirectory() = 0;
};

// The implementation for the platform the library was built for.
std::unique_ptr<FileSystem> makeNativeFileSystem();

} // namespace kestrel::os
