// The destination step: where the files go ($DEFAULTDIR$, asked for unless the script says
// NOASKDRIVE NOASKDIR), the further directories $DIR2$ and $DIR3$, the log's place
// (install.log in the destination) and the destination drive's free space, in 64 bits.
#pragma once

#include "files/directory_maker.h"
#include "files/install_log.h"
#include "host/installer_dialogs.h"
#include "os/prompts.h"
#include "os/volumes.h"
#include "script/install_script.h"
#include "script/plugin_globals.h"

#include <cstdint>
#include <optional>

namespace kestrel::host {

struct DestinationContext {
    script::InstallScript& script;
    script::PluginGlobals& globals;
    InstallerDialogs& dialogs;
    os::Prompts& prompts;
    os::Volumes& volumes;
    files::InstallLog& log;
    files::DirectoryMaker& directories;
};

inline constexpr std::string_view kDefaultDestination = "C:\\NEWFILES";
inline constexpr std::string_view kLogFileName = "install.log";

// The free bytes of the destination's drive once every directory is settled and made; nothing
// when the installation stops (the user cancelled, or a message said why).
std::optional<uint64_t> settleDestination(DestinationContext& context);

// Bytes the installation needs: the overall minimum and that of each selected option.
int64_t requiredSpace(const script::InstallScript& script, const lexical::OptionTables& options);

} // namespace kestrel::host
