#include "described_machine.h"

#include "os/wildcard_match.h"
#include "script/ansi_text.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace kst {

namespace {

using kestrel::os::DriveType;
using kestrel::script::asciiUpper;

std::string parentOf(const std::string& path) {
    const size_t cut = path.rfind('\\');
    if (cut == std::string::npos)
        return {};
    return path.substr(0, cut == 2 ? 3 : cut);
}

std::string nameOf(const std::string& path) {
    const size_t cut = path.rfind('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

std::optional<std::pair<uint8_t, uint8_t>> parseVersion(const std::string& text) {
    const size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size() || text.size() > 7)
        return std::nullopt;
    unsigned major = 0, minor = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == dot)
            continue;
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        unsigned& part = i < dot ? major : minor;
        part = part * 10 + unsigned(text[i] - '0');
    }
    if (major > 255 || minor > 255)
        return std::nullopt;
    return std::make_pair(uint8_t(major), uint8_t(minor));
}

std::optional<DriveType> parseDriveType(const std::string& text) {
    const std::pair<const char*, DriveType> kinds[] = {
        {"fixed", DriveType::Fixed},     {"removable", DriveType::Removable},
        {"network", DriveType::Network}, {"cdrom", DriveType::CdRom},
        {"ramdisk", DriveType::RamDisk},
    };
    for (const auto& [name, type] : kinds) {
        if (kestrel::script::equalsIgnoreCase(text, name))
            return type;
    }
    return std::nullopt;
}

std::string DescribedMachine::normalised(const std::string& path) const {
    std::string p = asciiUpper(path);
    std::replace(p.begin(), p.end(), '/', '\\');
    if (!(p.size() >= 2 && p[1] == ':')) {
        std::string base = asciiUpper(description_.workingDirectory);
        if (p.empty() || p[0] != '\\')
            p = (base.size() > 3 ? base + "\\" : base) + p;
        else
            p = base.substr(0, 2) + p;
    }
    if (p.size() == 2)
        p += '\\';
    while (p.size() > 3 && p.back() == '\\')
        p.pop_back();
    return p;
}

void DescribedMachine::addDirectory(const std::string& path) {
    std::string dir = normalised(path);
    while (!dir.empty() && directories_.insert(dir).second && dir.size() > 3)
        dir = parentOf(dir);
}

void DescribedMachine::addFile(const std::string& path, std::string contents) {
    const std::string file = normalised(path);
    files_[file] = std::move(contents);
    addDirectory(parentOf(file));
}

DriveType DescribedMachine::driveType(char letter) {
    const auto it = description_.drives.find(kestrel::script::asciiUpper(letter));
    return it == description_.drives.end() ? DriveType::Missing : it->second;
}

bool DescribedMachine::directoryExists(const std::string& path) {
    const std::string dir = normalised(path);
    if (dir.size() == 3 && driveType(dir[0]) != DriveType::Missing)
        return true;
    return directories_.count(dir) != 0;
}

bool DescribedMachine::anyEntryMatches(const std::string& pattern) {
    const std::string wanted = normalised(pattern);
    const std::string directory = parentOf(wanted);
    const std::string name = nameOf(wanted);
    const auto matches = [&](const std::string& entry) {
        return parentOf(entry) == directory && entry.size() > 3 &&
               kestrel::os::wildcardMatches(name, nameOf(entry));
    };
    return std::any_of(files_.begin(), files_.end(),
                       [&](const auto& f) { return matches(f.first); }) ||
           std::any_of(directories_.begin(), directories_.end(), matches);
}

std::optional<std::vector<std::string>>
DescribedMachine::subdirectories(const std::string& directory) {
    const std::string dir = normalised(directory);
    if (!directoryExists(dir))
        return std::nullopt;
    std::vector<std::string> names;
    for (const std::string& entry : directories_) {
        if (entry.size() > 3 && parentOf(entry) == dir)
            names.push_back(nameOf(entry));
    }
    return names;
}

std::unique_ptr<kestrel::os::InputFile> DescribedMachine::openForReading(const std::string& path) {
    const auto it = files_.find(normalised(path));
    if (it == files_.end())
        return nullptr;
    return std::make_unique<MemoryInput>(it->second);
}

int32_t MemoryInput::read(void* buffer, uint32_t count) {
    const size_t left = bytes_.size() - std::min(position_, bytes_.size());
    const size_t n = std::min<size_t>({count, left, size_t{INT32_MAX}});
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return static_cast<int32_t>(n);
}

int64_t MemoryInput::seek(int64_t offset, kestrel::os::SeekOrigin origin) {
    const int64_t base = origin == kestrel::os::SeekOrigin::Start     ? 0
                         : origin == kestrel::os::SeekOrigin::Current ? int64_t(position_)
                                                                      : int64_t(bytes_.size());
    if (base + offset < 0)
        return -1;
    position_ = size_t(base + offset);
    return int64_t(position_);
}

} // namespace kst
