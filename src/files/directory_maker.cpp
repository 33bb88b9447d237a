#include "files/directory_maker.h"

namespace kestrel::files {
namespace {

bool isDirectory(os::FileSystem& files, const std::string& path) {
    const std::optional<uint32_t> attributes = files.readAttributes(path);
    return attributes && (*attributes & os::attributes::Directory);
}

// Where the levels that can be made begin: behind "X:\", or behind "\\server\share\".
size_t rootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path.size() > 2 && path[2] == '\\' ? 3 : 2;
    if (path.rfind("\\\\", 0) == 0) {
        size_t server = path.find('\\', 2);
        size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
    return path.empty() || path[0] != '\\' ? 0 : 1;
}

} // namespace

std::optional<std::vector<std::string>>
createMissingDirectories(os::FileSystem& files, const std::string& path, size_t existingLength) {
    std::vector<std::string> created;
    size_t end = std::max(existingLength, rootLength(path));
    while (end < path.size()) {
        if (path[end] == '\\') {
            ++end;
            continue;
        }
        end = std::min(path.find('\\', end), path.size());
        const std::string level = path.substr(0, end);
        if (isDirectory(files, level))
            continue;
        if (!files.createDirectory(level) && !isDirectory(files, level))
            return std::nullopt;
        created.push_back(level);
    }
    return created;
}

bool DirectoryMaker::make(const std::string& path, size_t existingLength) {
    const auto created = createMissingDirectories(files_, path, existingLength);
    if (!created) {
        prompts_.messageBox(badDirectoryText_, kSystemErrorCaption, os::kMbIconExclamation);
        return false;
    }
    log_.writeDirectories(*created);
    return true;
}

} // namespace kestrel::files
