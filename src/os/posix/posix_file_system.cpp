// Files on POSIX, for running kst natively. Backslashes in paths are taken as separators so
// that archive member names and script paths work unchanged; the DOS date and time are the
// UTC last-write time, as on Windows, where no time zone is applied either.
#include "os/file_system.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace kestrel::os {
namespace {

std::string toPosix(std::string path) {
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

class PosixInputFile final : public InputFile {
  public:
    explicit PosixInputFile(int fd) : fd_(fd) {}

    int32_t read(void* buffer, uint32_t count) override {
        ssize_t got;
        do {
            got = ::read(fd_.get(), buffer, count);
        } while (got < 0 && errno == EINTR);
        return got < 0 ? -1 : static_cast<int32_t>(got);
    }

    int64_t seek(int64_t offset, SeekOrigin origin) override {
        static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
        off_t result = ::lseek(fd_.get(), offset, whence[static_cast<int>(origin)]);
        return result < 0 ? -1 : static_cast<int64_t>(result);
    }

    int64_t tell() override { return seek(0, SeekOrigin::Current); }

  private:
    FileDescriptor fd_;
};

class PosixOutputFile final : public OutputFile {
  public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}

    int32_t write(const void* buffer, uint32_t count) override {
        const char* bytes = static_cast<const char*>(buffer);
        uint32_t done = 0;
        while (done < count) {
            ssize_t put = ::write(fd_.get(), bytes + done, count - done);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return -1;
            }
            done += static_cast<uint32_t>(put);
        }
        return static_cast<int32_t>(done);
    }

  private:
    FileDescriptor fd_;
};

class PosixFileSystem final : public FileSystem {
  public:
    std::unique_ptr<InputFile> openForReading(const std::string& path) override {
        int fd = ::open(toPosix(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return nullptr;
        }
        struct stat info;
        if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixInputFile>(fd);
    }

    std::unique_ptr<OutputFile> createForWriting(const std::string& path) override {
        int fd = ::open(toPosix(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) {
            return nullptr;
        }
        return std::make_unique<PosixOutputFile>(fd);
    }

    std::optional<DosDateTime> readDosDateTime(const std::string& path) override {
        struct stat info;
        if (::stat(toPosix(path).c_str(), &info) != 0) {
            return std::nullopt;
        }
        std::tm parts{};
        time_t seconds = info.st_mtime;
        if (!gmtime_r(&seconds, &parts) || parts.tm_year < 80 || parts.tm_year > 207) {
            return std::nullopt;
        }
        DosDateTime stamp;
        stamp.date = static_cast<uint16_t>(((parts.tm_year - 80) << 9) | ((parts.tm_mon + 1) << 5) |
                                           parts.tm_mday);
        stamp.time =
            static_cast<uint16_t>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
        return stamp;
    }

    bool setDosDateTime(const std::string& path, DosDateTime stamp) override {
        std::tm parts{};
        parts.tm_year = (stamp.date >> 9) + 80;
        parts.tm_mon = ((stamp.date >> 5) & 15) - 1;
        parts.tm_mday = stamp.date & 31;
        parts.tm_hour = stamp.time >> 11;
        parts.tm_min = (stamp.time >> 5) & 63;
        parts.tm_sec = (stamp.time & 31) * 2;
        if (parts.tm_mon < 0 || parts.tm_mon > 11 || parts.tm_mday == 0 || parts.tm_hour > 23 ||
            parts.tm_min > 59 || parts.tm_sec > 59) {
            return false;
        }
        time_t seconds = timegm(&parts);
        struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
        return ::utimes(toPosix(path).c_str(), times) == 0;
    }

    std::optional<uint32_t> readAttributes(const std::string& path) override {
        struct stat info;
        if (::stat(toPosix(path).c_str(), &info) != 0) {
            return std::nullopt;
        }
        if (S_ISDIR(info.st_mode)) {
            return attributes::Directory;
        }
        uint32_t value = attributes::Archive;
        if ((info.st_mode & S_IWUSR) == 0) {
            value |= attributes::ReadOnly;
        }
        return value;
    }

    bool setAttributes(const std::string& path, uint32_t value) override {
        std::string native = toPosix(path);
        struct stat info;
        if (::stat(native.c_str(), &info) != 0) {
            return false;
        }
        mode_t mode = info.st_mode & 07777;
        mode = (value & attributes::ReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
        return ::chmod(native.c_str(), mode) == 0;
    }

    bool createDirectories(const std::string& path) override {
        std::string native = toPosix(path);
        for (size_t i = 1; i < native.size(); ++i) {
            if (native[i] == '/') {
                ::mkdir(native.substr(0, i).c_str(), 0777);
            }
        }
        ::mkdir(native.c_str(), 0777);
        struct stat info;
        return ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::unique_ptr<OutputFile> openForAppend(const std::string& path) override {
        int fd = ::open(toPosix(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (fd < 0) {
            return nullptr;
        }
        return std::make_unique<PosixOutputFile>(fd);
    }

    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& dir) override {
        std::string native = toPosix(dir);
        DIR* stream = ::opendir(native.empty() ? "." : native.c_str());
        if (!stream) {
            return std::nullopt;
        }
        std::vector<DirectoryEntry> entries;
        while (const dirent* entry = ::readdir(stream)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            std::optional<uint32_t> attrs = readAttributes(native + "/" + name);
            entries.push_back({std::move(name), attrs.value_or(attributes::Archive)});
        }
        ::closedir(stream);
        return entries;
    }

    bool createDirectory(const std::string& path) override {
        return ::mkdir(toPosix(path).c_str(), 0777) == 0;
    }

    std::optional<UniqueFile> createUniqueFile(const std::string& directory,
                                               const std::string& stem) override {
        std::string prefix = toPosix(directory);
        if (!prefix.empty() && prefix.back() != '/') {
            prefix += '/';
        }
        prefix += stem;
        for (unsigned counter = 0; counter < 10000; ++counter) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%04u", counter);
            std::string path = prefix + digits + ".tmp";
            int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                return UniqueFile{std::move(path), std::make_unique<PosixOutputFile>(fd)};
            }
            if (errno != EEXIST) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    bool replaceFile(const std::string& from, const std::string& to) override {
        return ::rename(toPosix(from).c_str(), toPosix(to).c_str()) == 0;
    }

    bool moveFile(const std::string& from, const std::string& to) override {
        // A hard link fails when to exists, so nothing is ever overwritten.
        std::string source = toPosix(from);
        std::string target = toPosix(to);
        if (::link(source.c_str(), target.c_str()) != 0) {
            return false;
        }
        if (::unlink(source.c_str()) != 0) {
            ::unlink(target.c_str());
            return false;
        }
        return true;
    }

    bool copyFile(const std::string& from, const std::string& to) override {
        auto in = openForReading(from);
        auto out = in ? createForWriting(to) : nullptr;
        if (!out) {
            return false;
        }
        char buffer[65536];
        for (;;) {
            int32_t got = in->read(buffer, sizeof buffer);
            if (got == 0) {
                return true;
            }
            if (got < 0 || out->write(buffer, static_cast<uint32_t>(got)) != got) {
                return false;
            }
        }
    }

    bool deleteFile(const std::string& path) override {
        return ::unlink(toPosix(path).c_str()) == 0;
    }

    bool sameFile(const std::string& a, const std::string& b) override {
        struct stat first;
        struct stat second;
        return ::stat(toPosix(a).c_str(), &first) == 0 &&
               ::stat(toPosix(b).c_str(), &second) == 0 && first.st_dev == second.st_dev &&
               first.st_ino == second.st_ino;
    }

    std::optional<std::string> currentDirectory() override {
        std::string buffer(256, '\0');
        for (;;) {
            if (::getcwd(buffer.data(), buffer.size())) {
                buffer.resize(std::char_traits<char>::length(buffer.c_str()));
                return buffer;
            }
            if (errno != ERANGE) {
                return std::nullopt;
            }
            buffer.resize(buffer.size() * 2);
        }
    }
};

} // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

} // namespace kestrel::os
