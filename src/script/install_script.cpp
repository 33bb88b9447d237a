#include "script/install_script.h"

namespace kestrel::script {

InstallScript::InstallScript(PluginGlobals& globals, uint32_t systemVersion, bool driveAIsFixed) {
    globals.resetForInstallation(systemVersion, driveAIsFixed);
}

} // namespace kestrel::script
