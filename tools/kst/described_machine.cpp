#include "described_machine.h"

#include "lexical/ansi_text.h"
#include "lexical/path_text.h"
#include "os/memory_input_file.h"
#include "os/wildcard_match.h"

#include <algorithm>

namespace kst {

namespace {

using kestrel::lexical::asciiUpper;
using kestrel::os::DriveType;

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
        if (kestrel::lexical::equalsIgnoringAsciiCase(text, name))
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
        dir = kestrel::lexical::parentDirectory(dir);
}

void DescribedMachine::addFile(const std::string& path, std::string contents) {
    const std::string file = normalised(path);
    files_[file] = std::move(contents);
    addDirectory(kestrel::lexical::parentDirectory(file));
}

DriveType DescribedMachine::driveType(char letter) {
    const auto it = description_.drives.find(kestrel::lexical::asciiUpper(letter));
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
    const std::string directory = kestrel::lexical::parentDirectory(wanted);
    const std::string name = nameOf(wanted);
    const auto matches = [&](const std::string& entry) {
        return kestrel::lexical::parentDirectory(entry) == directory && entry.size() > 3 &&
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
        if (entry.size() > 3 && kestrel::lexical::parentDirectory(entry) == dir)
            names.push_back(nameOf(entry));
    }
    return names;
}

std::unique_ptr<kestrel::os::InputFile> DescribedMachine::openForReading(const std::string& path) {
    const auto it = files_.find(normalised(path));
    if (it == files_.end())
        return nullptr;
    return std::make_unique<kestrel::os::MemoryInputFile>(it->second);
}

} // namespace kst
