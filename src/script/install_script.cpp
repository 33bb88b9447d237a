#include "script/install_script.h"

namespace kestrel::script {

InstallScript::InstallScript(PluginGlobals& globals, os::Prompts& prompts, uint32_t systemVersion,
                             bool driveAIsFixed)
    : cursor(&globals.macros), reader([&prompts](std::string_view text) {
          prompts.messageBox(text, os::kDefaultCaption, os::kMbOk | os::kMbIconExclamation);
      }) {
    globals.resetForInstallation(systemVersion, driveAIsFixed);
    optionMinDiskSpace.fill(-1);
}

} // namespace kestrel::script
