#include "files/disk_prompts.h"

#include "lexical/ansi_text.h"

namespace kestrel::files {

char sourceDriveAfter(const std::vector<FileEntry>& entries, size_t diskIndex,
                      const lexical::MacroVariables& macros) {
    for (size_t i = diskIndex + 1; i < entries.size() && entries[i].kind == EntryKind::File; ++i) {
        const FileEntry& entry = entries[i];
        if (entry.sourceKind != SourceKind::Local)
            continue;
        const std::string source = lexical::allMacrosExpanded(entry.source, macros);
        if (source.size() >= 2 && source[1] == ':' && lexical::isAnsiLetter(source[0]))
            return lexical::asciiUpper(source[0]);
    }
    return 0;
}

bool askForDisk(DiskPromptContext& context, const std::vector<FileEntry>& entries,
                size_t diskIndex) {
    const FileEntry& disk = entries[diskIndex];
    const std::string text = context.insertDiskText + disk.name;
    char drive = 0;
    if (disk.kind == EntryKind::DiskWithLabel) {
        drive = sourceDriveAfter(entries, diskIndex, context.macros);
        if (drive != 0)
            context.macros.setSourceDrive(drive);
    }
    if (context.closeContainer)
        context.closeContainer();
    for (;;) {
        if (context.stopping && context.stopping())
            return false;
        if (context.prompts.messageBox(text, os::kDefaultCaption,
                                       os::kMbOkCancel | os::kMbIconInformation) == os::kIdOk) {
            if (drive == 0)
                return true;
            const std::optional<std::string> label = context.volumes.volumeLabel(drive);
            if (label && lexical::asciiUpper(*label) == lexical::asciiUpper(disk.volumeLabel))
                return true;
            continue;
        }
        // A box refused for us because the page is being left asks nothing further.
        if (context.stopping && context.stopping())
            return false;
        if (context.prompts.messageBox(context.quitText, "",
                                       os::kMbYesNo | os::kMbIconExclamation) == os::kIdYes)
            return false;
    }
}

} // namespace kestrel::files
