#include "files/delete_rename.h"

#include "lexical/ansi_text.h"
#include "lexical/install_log_lines.h"
#include "lexical/path_text.h"
#include "os/wildcard_match.h"

#include <optional>
#include <vector>

namespace kestrel::files {
namespace {

bool sameText(std::string_view a, std::string_view b) {
    return lexical::equalsIgnoringAsciiCase(a, b);
}

// Deletes a file, clearing a read-only attribute that refuses it.
void deleteOne(os::FileSystem& files, const std::string& path) {
    if (!files.deleteFile(path) && files.setAttributes(path, os::attributes::Normal))
        files.deleteFile(path);
}

// The files (not directories) of directory whose long names match pattern.
std::vector<std::string> matchingFiles(os::FileSystem& files, const std::string& directory,
                                       std::string_view pattern) {
    std::vector<std::string> names;
    if (os::hasWildcard(directory))
        return names;
    const auto entries = files.listDirectory(directory);
    if (!entries)
        return names;
    for (const os::DirectoryEntry& entry : *entries) {
        if (!(entry.attributes & os::attributes::Directory) &&
            os::wildcardMatches(pattern, entry.name))
            names.push_back(entry.name);
    }
    return names;
}

// A wildcard there could take the machine's own files.
bool isProtectedFolder(const std::string& directory, const lexical::MacroVariables& macros) {
    const bool driveRoot = directory.size() == 3 && directory[1] == ':';
    return driveRoot || directory == "\\" || sameText(directory, macros.windowsDir()) ||
           sameText(directory, macros.systemDir());
}

// "name.ext" -> {"name", ".ext"}, cut at the last dot.
std::pair<std::string, std::string> splitExtension(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {std::string(name), {}};
    return {std::string(name.substr(0, dot)), std::string(name.substr(dot))};
}

} // namespace

std::string anchoredPath(const std::string& path, const lexical::MacroVariables& macros,
                         const std::string& directory) {
    std::string full = lexical::allMacrosExpanded(path, macros);
    if (full.rfind("\\\\", 0) == 0)
        return full;
    if (full.size() >= 2 && full[1] == ':')
        return full.size() == 2 || full[2] != '\\' ? full.substr(0, 2) + "\\" + full.substr(2)
                                                   : full;
    if (!full.empty() && full[0] == '\\')
        return directory.size() >= 2 && directory[1] == ':' ? directory.substr(0, 2) + full : full;
    return lexical::joinPath(directory, full);
}

void deleteFiles(FileOperationsContext& context, const std::string& path) {
    const std::string full = anchoredPath(path, context.macros, context.macros.defaultDir());
    if (!os::hasWildcard(full)) {
        deleteOne(context.files, full);
        return;
    }
    const std::string directory = lexical::parentDirectory(full);
    if (directory.empty() || isProtectedFolder(directory, context.macros))
        return;
    for (const std::string& name :
         matchingFiles(context.files, directory, lexical::fileNamePart(full))) {
        const std::string found = lexical::joinPath(directory, name);
        if (!sameText(found, context.logPath))
            deleteOne(context.files, found);
    }
}

int32_t renameOneFile(FileOperationsContext& context, const std::string& oldPath,
                      const std::string& newPath) {
    os::FileSystem& files = context.files;
    if (!files.readAttributes(oldPath))
        return -1;
    // A case-only change, or a name that leads back to the file itself, is no rename: deleting
    // "the file of the new name" first would delete the file.
    if (sameText(oldPath, newPath) || files.sameFile(oldPath, newPath))
        return 0;
    deleteOne(files, newPath);
    if (!files.moveFile(oldPath, newPath))
        return -1;
    context.log.writeLogLine(lexical::logline::rename(newPath, oldPath));
    return 0;
}

void renameFiles(FileOperationsContext& context, const std::string& oldName,
                 const std::string& newName) {
    const std::string oldPath = anchoredPath(oldName, context.macros, context.macros.defaultDir());
    const std::string oldDirectory = lexical::parentDirectory(oldPath);
    // A bare new name renames in place, as the DOS command does.
    const std::string expandedNew = lexical::allMacrosExpanded(newName, context.macros);
    const bool bare = expandedNew.find_first_of("\\:") == std::string::npos;
    const std::string newPath =
        bare ? lexical::joinPath(oldDirectory, expandedNew)
             : anchoredPath(newName, context.macros, context.macros.defaultDir());
    const std::string targetDirectory = lexical::parentDirectory(newPath);
    if (!bare && !targetDirectory.empty())
        context.directories.make(targetDirectory);

    const std::string oldPattern(lexical::fileNamePart(oldPath));
    const size_t star = oldPattern.find('*');
    if (star == std::string::npos || os::hasWildcard(oldDirectory)) {
        renameOneFile(context, oldPath, newPath);
        return;
    }
    const std::string_view afterStar = std::string_view(oldPattern).substr(star + 1);
    const int mode = afterStar.starts_with(".*") ? 3 : afterStar.starts_with('.') ? 2 : 1;
    const auto [newStem, newExtension] = splitExtension(lexical::fileNamePart(newPath));
    for (const std::string& found : matchingFiles(context.files, oldDirectory, oldPattern)) {
        const auto [foundStem, foundExtension] = splitExtension(found);
        const std::string name = mode == 1   ? newStem + foundExtension
                                 : mode == 2 ? foundStem + newExtension
                                             : found;
        renameOneFile(context, lexical::joinPath(oldDirectory, found),
                      lexical::joinPath(targetDirectory, name));
    }
}

} // namespace kestrel::files
