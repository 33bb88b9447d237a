#include "host/win32/win32_engine_services.h"

#include "os/native_machine.h"

namespace kestrel::host::win32 {

Win32EngineServices::Win32EngineServices(HWND owner, Browser& browser, InstallerDialogs& dialogs,
                                         ui::TextMeasure& measure, os::ScreenRunner screens)
    : files_(os::makeNativeFileSystem()), prompts_(owner, std::move(screens)),
      system_(os::makeNativeSystemInfo()), details_(os::makeNativeSystemDetails()),
      drives_(os::makeNativeDrives()), volumes_(os::makeNativeVolumes()),
      directories_(os::makeNativeDirectorySearch()),
      registryReader_(os::makeNativeRegistryReader()), versions_(os::makeNativeFileVersionReader()),
      processes_(os::makeNativeProcesses()), registry_(os::makeNativeRegistry()),
      profile_(os::makeNativeProfile()), servers_(os::makeNativeServerRegistration()),
      programManager_(os::makeNativeProgramManager()),
      restart_(os::makeNativeRestart()), services_{*files_,       prompts_,         *system_,
                                                   *details_,     *drives_,         *volumes_,
                                                   *directories_, *registryReader_, *versions_,
                                                   *processes_,   *registry_,       *profile_,
                                                   *servers_,     *programManager_, *restart_,
                                                   measure,       browser,          dialogs} {}

} // namespace kestrel::host::win32
