// One installation, from start-up to its end: the script object and everything that carries
// it out (the interpreter, which keeps the deferred blocks for later, the install log, the copy
// pipeline), and where the sequence stands.
#pragma once

#include "files/copy_pipeline.h"
#include "files/directory_maker.h"
#include "files/install_log.h"
#include "files/packed_file.h"
#include "host/dialog_progress.h"
#include "host/engine_services.h"
#include "host/installation_state.h"
#include "host/plugin_process.h"
#include "script/install_script.h"
#include "script/interpreter.h"
#include "ui/progress_counters.h"

#include <functional>
#include <string>

namespace kestrel::host {

struct InstallationHooks {
    files::RemoteFiles& remote;
    files::NextDiskPrompt& disks;
    // True once the installation is being ended: loops that ask stop asking.
    std::function<bool()> stopping;
};

class Installation {
  public:
    Installation(PluginProcess& process, EngineServices& services, InstallationHooks hooks,
                 std::string workingDirectory);
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    script::InstallScript script;
    files::PackedFileLayer sources;
    script::InterpreterServices interpreterServices;
    script::Interpreter interpreter;
    files::InstallLog log;
    files::DirectoryMaker directories;
    ui::ByteProgress bytes;
    DialogProgress progress;
    files::Archiver archiver = files::Archiver::Pkware;
    files::CopyPipeline pipeline;
    InstallationState state;
    std::function<bool()> stopping;
};

} // namespace kestrel::host
