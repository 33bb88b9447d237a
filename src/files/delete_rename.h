// DELETE and RENAME lines of a script. Names may hold path macros; a name without a drive or a
// leading backslash is taken in the destination directory (a RENAME target that is a bare file
// name stays beside the file it renames), a name with a leading backslash on the destination's
// drive, and "C:" alone means the root of C:, never a drive's current directory. Wildcards are
// matched by us against long names only. Failures are silent, as the installation goes on
// without them.
//
// DELETE with wildcards never acts on a drive root or on the Windows and system folders, and
// never deletes install.log. RENAME moves files (making the target's missing directories),
// replaces a file of the new name, logs each rename with full paths, and does nothing where
// old and new name are one file.
#pragma once

#include "files/directory_maker.h"
#include "lexical/install_log_sink.h"
#include "lexical/macros.h"
#include "os/file_system.h"

#include <cstdint>
#include <string>

namespace kestrel::files {

struct FileOperationsContext {
    os::FileSystem& files;
    const lexical::MacroVariables& macros;
    DirectoryMaker& directories;
    lexical::InstallLogSink& log;
    const std::string& logPath; // install.log: never deleted by a wildcard
};

void deleteFiles(FileOperationsContext& context, const std::string& path);
void renameFiles(FileOperationsContext& context, const std::string& oldName,
                 const std::string& newName);

// Renames one file (full paths): 0, or -1 when oldPath does not exist or cannot be moved.
int32_t renameOneFile(FileOperationsContext& context, const std::string& oldPath,
                      const std::string& newPath);

// path with its macros expanded, made absolute as above (relative to directory).
std::string anchoredPath(const std::string& path, const lexical::MacroVariables& macros,
                         const std::string& directory);

} // namespace kestrel::files
