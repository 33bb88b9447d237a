#include "script/drive_search.h"

#include "lexical/ansi_text.h"
#include "lexical/path_text.h"

#include <vector>

namespace kestrel::script {

namespace {

bool holdsFile(os::DirectorySearch& directories, const std::string& directory,
               const std::string& fileName) {
    return directories.anyEntryMatches(lexical::joinPath(directory, fileName));
}

// One directory of the walk and the subdirectories still to visit below it.
struct Level {
    std::string path;
    std::vector<std::string> children;
    size_t next = 0;
};

// Depth first from the root: each directory is looked into before its subdirectories.
// Iterative, so a deep tree costs heap, not stack.
std::optional<std::string> searchDrive(char letter, const std::string& fileName,
                                       os::DirectorySearch& directories) {
    const std::string root = std::string(1, lexical::asciiUpper(letter)) + ":\\";
    if (holdsFile(directories, root, fileName))
        return root;
    std::vector<Level> stack;
    auto rootChildren = directories.subdirectories(root);
    if (!rootChildren)
        return std::nullopt;
    stack.push_back({root, std::move(*rootChildren), 0});
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.children.size()) {
            stack.pop_back();
            continue;
        }
        std::string path = lexical::joinPath(level.path, level.children[level.next++]);
        if (path.size() > kMaxSearchDirectory)
            continue;
        if (holdsFile(directories, path, fileName))
            return path;
        auto children = directories.subdirectories(path);
        if (children && !children->empty())
            stack.push_back({std::move(path), std::move(*children), 0});
    }
    return std::nullopt;
}

bool inScope(DriveScope scope, os::DriveType type) {
    switch (scope) {
    case DriveScope::AllDrives:
        return type == os::DriveType::Fixed || type == os::DriveType::Network;
    case DriveScope::FixedDrives:
        return type == os::DriveType::Fixed;
    case DriveScope::NetworkDrives:
        return type == os::DriveType::Network;
    case DriveScope::OneDrive:
        break;
    }
    return false;
}

} // namespace

std::optional<std::string> searchDrives(const DriveSearchRequest& request, os::Drives& drives,
                                        os::DirectorySearch& directories) {
    if (request.fileName.empty())
        return std::nullopt;
    if (request.scope == DriveScope::OneDrive)
        return searchDrive(request.drive, request.fileName, directories);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter == lexical::asciiUpper(request.sourceDrive))
            continue;
        if (!inScope(request.scope, drives.driveType(letter)))
            continue;
        if (auto found = searchDrive(letter, request.fileName, directories))
            return found;
    }
    return std::nullopt;
}

} // namespace kestrel::script
