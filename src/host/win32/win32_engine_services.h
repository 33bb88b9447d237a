// The Windows implementations an installation runs on, made once per plug-in window and handed
// to its session: files, folders and drives, the registry and INI files, programs, self-
// registration, the Program Manager, the restart, and message boxes owned by the window.
#pragma once

#include "host/engine_services.h"
#include "os/message_box_prompts.h"

#include <windows.h>

#include <memory>

namespace kestrel::host::win32 {

class Win32EngineServices {
  public:
    Win32EngineServices(HWND owner, Browser& browser, InstallerDialogs& dialogs,
                        ui::TextMeasure& measure, os::ScreenRunner screens);
    Win32EngineServices(const Win32EngineServices&) = delete;
    Win32EngineServices& operator=(const Win32EngineServices&) = delete;

    EngineServices& services() { return services_; }

  private:
    std::unique_ptr<os::FileSystem> files_;
    os::MessageBoxPrompts prompts_;
    std::unique_ptr<os::SystemInfo> system_;
    std::unique_ptr<os::SystemDetails> details_;
    std::unique_ptr<os::Drives> drives_;
    std::unique_ptr<os::Volumes> volumes_;
    std::unique_ptr<os::DirectorySearch> directories_;
    std::unique_ptr<os::RegistryReader> registryReader_;
    std::unique_ptr<os::FileVersionReader> versions_;
    std::unique_ptr<os::Processes> processes_;
    std::unique_ptr<os::Registry> registry_;
    std::unique_ptr<os::Profile> profile_;
    std::unique_ptr<os::ServerRegistration> servers_;
    std::unique_ptr<os::ProgramManager> programManager_;
    std::unique_ptr<os::Restart> restart_;
    EngineServices services_;
};

} // namespace kestrel::host::win32
