// The installation sequence, in its fixed order. The first call asks the script's questions
// (processor, first screen, ASK1..5, groups), runs the deferred pass, settles the destination,
// tests the disk space, starts the log and carries out RENAME. Every call then walks the
// installation list from where the last one stopped: a file that must be fetched ends the call
// "waiting", and the next call, with the delivered file, goes on at that entry. After the list
// come AUTOEXEC.BAT, CONFIG.SYS, INI files, self-registration, ADDTEXT, the last screen, DELETE
// and the exit programs' macros; after a successful run the registry and Program Manager.
#pragma once

#include "files/copy_pipeline.h"
#include "host/engine_services.h"
#include "host/installation.h"
#include "host/plugin_process.h"

#include <string>

namespace kestrel::host {

class Controller {
  public:
    Controller(PluginProcess& process, EngineServices& services, Installation& installation)
        : globals_(process.globals), services_(services), installation_(installation),
          script_(installation.script), state_(installation.state) {}

    // RunInstallation. deliveredPath: the file delivered for the entry that asked (empty for
    // none); emptied once used.
    files::InstallResult run(std::string& deliveredPath);
    // What follows a run that came to its end: the registry blocks and the Program Manager.
    void writeRegistryAndProgramManager();

    // The next-disk prompt of an archive running onto its next volume: moves the list on to
    // the next disk entry and asks for it. True when the user gave up or no disk entry follows.
    bool askForNextDisk(bool firstRequest);

  private:
    files::InstallResult askQuestions();
    bool processorSuffices();
    bool chooseGroups();
    files::InstallResult walkList(std::string& deliveredPath);
    files::InstallResult afterList();
    bool askForDiskAt(size_t index);
    void showPopup(int32_t id);
    void closeDialogs();
    // True once the installation is being ended or aborted from outside the run.
    bool interrupted() const { return installation_.stopping && installation_.stopping(); }
    void finish(files::InstallResult result);

    script::PluginGlobals& globals_;
    EngineServices& services_;
    Installation& installation_;
    script::InstallScript& script_;
    InstallationState& state_;
};

} // namespace kestrel::host
