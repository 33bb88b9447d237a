#include "host/installation.h"

namespace kestrel::host {

Installation::Installation(PluginProcess& process, EngineServices& services,
                           InstallationHooks hooks, std::string workingDirectory)
    : script(process.globals, services.details.versionValue(),
             services.drives.driveType('A') == os::DriveType::Fixed),
      sources(services.files),
      interpreterServices{
          .prompts = services.prompts,
          .measure = services.measure,
          .scriptFiles = sources,
          .system = services.system,
          .drives = services.drives,
          .directories = services.directories,
          .registry = services.registryReader,
          .versions = services.versions,
          .files = services.files,
          .announceDriveSearch =
              [&browser = services.browser](const std::string& fileName) {
                  browser.showLocatePanel(fileName);
              },
          .workingDirectory = std::move(workingDirectory),
      },
      interpreter(script, process.globals, interpreterServices), log(services.files),
      directories(services.files, services.prompts, log, process.globals.settings.badDirectoryText),
      progress(services.dialogs, bytes, script.prompts.copyFile, hooks.stopping),
      pipeline(files::PipelineServices{services.files, services.prompts, services.versions,
                                       services.processes, sources, progress, hooks.disks,
                                       directories, log, hooks.remote},
               files::PipelineSettings{process.globals.macros, process.globals.serverRoot, archiver,
                                       process.globals.settings.fileExistsText}),
      stopping(std::move(hooks.stopping)) {}

} // namespace kestrel::host
