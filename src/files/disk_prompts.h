// Asking for an installation disk: at an INSERTDISK entry, and when a packed archive goes on to
// its next volume. The prompt repeats until the disk is there or the user quits. A disk known
// by its volume label is checked in the drive its files come from (the local source of the
// file entries after it); when they name no drive, there is nothing to check and OK is taken
// as the disk being there.
#pragma once

#include "files/file_entry.h"
#include "lexical/macros.h"
#include "os/prompts.h"
#include "os/volumes.h"

#include <functional>
#include <string>
#include <vector>

namespace kestrel::files {

struct DiskPromptContext {
    os::Prompts& prompts;
    os::Volumes& volumes;
    lexical::MacroVariables& macros; // $SOURCEDRIVE$ is set to the drive checked
    const std::string& insertDiskText;
    const std::string& quitText;
    // Called before the first ask: later files are never looked up in the packed
    // installation file again.
    std::function<void()> closeContainer;
    // True once the installation is being ended (the page is left): asking stops.
    std::function<bool()> stopping;
};

// The drive letter of the local source of the file entries after entries[diskIndex], up to
// the next disk entry; 0 when they name none.
char sourceDriveAfter(const std::vector<FileEntry>& entries, size_t diskIndex,
                      const lexical::MacroVariables& macros);

// Asks for the disk of entries[diskIndex]. True when the disk is there, false when the user
// chose to quit.
bool askForDisk(DiskPromptContext& context, const std::vector<FileEntry>& entries,
                size_t diskIndex);

} // namespace kestrel::files
