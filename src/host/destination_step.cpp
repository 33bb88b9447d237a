#include "host/destination_step.h"

#include "lexical/install_log_lines.h"
#include "lexical/macros.h"
#include "lexical/path_text.h"

namespace kestrel::host {
namespace {

using script::AskMode;

bool asks(AskMode mode) {
    return mode == AskMode::Directory || mode == AskMode::Drive ||
           mode == AskMode::DriveAndDirectory;
}

// A further directory (DIR2, DIR3): asked for, or made where the script says; nothing when
// the installation stops.
std::optional<std::string> settleFurther(DestinationContext& context,
                                         script::DirectoryPrompt& record) {
    record.path = lexical::allMacrosExpanded(record.path, context.globals.macros);
    if (asks(record.askMode)) {
        return context.dialogs.chooseDestination(
            record, [&](const std::string& path) { return context.directories.make(path); });
    }
    if (!context.directories.make(record.path))
        return std::nullopt;
    return record.path;
}

} // namespace

std::optional<uint64_t> settleDestination(DestinationContext& context) {
    lexical::MacroVariables& macros = context.globals.macros;
    if (!context.script.defaultDir) {
        script::DirectoryPrompt made;
        made.askMode = AskMode::DriveAndDirectory;
        made.path = std::string(kDefaultDestination);
        made.path[0] = context.globals.defaultDriveLetter;
        context.script.defaultDir = made;
    }
    script::DirectoryPrompt& record = *context.script.defaultDir;
    record.path = lexical::allMacrosExpanded(record.path, macros);

    std::string destination;
    if (asks(record.askMode)) {
        const auto chosen = context.dialogs.chooseDestination(
            record, [&](const std::string& path) { return context.directories.make(path); });
        if (!chosen)
            return std::nullopt;
        destination = *chosen;
        macros.setDefaultDir(destination);
        context.log.setPath(lexical::joinPath(destination, kLogFileName));
        context.log.write(lexical::logline::defaultDir(destination));
    } else {
        destination = record.path;
        macros.setDefaultDir(destination);
        context.log.setPath(lexical::joinPath(destination, kLogFileName));
        // Written before the directory may exist: the piece waits with its own line feed.
        context.log.write(lexical::logline::defaultDir(destination) + "\n");
    }
    const std::optional<uint64_t> free = context.volumes.freeBytes(destination);
    if (!free) {
        context.prompts.messageBox(context.globals.settings.badDriveText, os::kDefaultCaption,
                                   os::kMbOk | os::kMbIconExclamation);
        return std::nullopt;
    }
    if (!asks(record.askMode) && !context.directories.make(destination))
        return std::nullopt;

    if (context.script.dir2) {
        const auto dir2 = settleFurther(context, *context.script.dir2);
        if (!dir2)
            return std::nullopt;
        macros.setDir2(*dir2);
    }
    if (context.script.dir3) {
        const auto dir3 = settleFurther(context, *context.script.dir3);
        if (!dir3)
            return std::nullopt;
        macros.setDir3(*dir3);
    }
    return free;
}

int64_t requiredSpace(const script::InstallScript& script, const lexical::OptionTables& options) {
    int64_t required = std::max<int32_t>(script.minDiskSpace, 0);
    const int32_t count = std::min(script.optionCount, lexical::OptionTables::kSize);
    for (int32_t option = 0; option < count; ++option) {
        if (options.selected(option))
            required += std::max<int32_t>(script.optionMinDiskSpace[size_t(option)], 0);
    }
    return required;
}

} // namespace kestrel::host
