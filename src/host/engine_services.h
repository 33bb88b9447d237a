// Everything an installation reaches outside itself: the machine, the plug-in window and the
// browser behind it, and the dialogs. The plug-in hands in the Windows implementations; tests
// hand in fakes.
#pragma once

#include "host/browser.h"
#include "host/installer_dialogs.h"
#include "os/directory_search.h"
#include "os/drives.h"
#include "os/file_system.h"
#include "os/file_version.h"
#include "os/processes.h"
#include "os/profile.h"
#include "os/program_manager.h"
#include "os/prompts.h"
#include "os/registry.h"
#include "os/registry_reader.h"
#include "os/restart.h"
#include "os/server_registration.h"
#include "os/system_details.h"
#include "os/system_info.h"
#include "os/volumes.h"
#include "ui/text_measure.h"

namespace kestrel::host {

struct EngineServices {
    os::FileSystem& files;
    os::Prompts& prompts;
    os::SystemInfo& system;
    os::SystemDetails& details;
    os::Drives& drives;
    os::Volumes& volumes;
    os::DirectorySearch& directories;
    os::RegistryReader& registryReader;
    os::FileVersionReader& versions;
    os::Processes& processes;
    os::Registry& registry;
    os::Profile& profile;
    os::ServerRegistration& servers;
    os::ProgramManager& programManager;
    os::Restart& restart;
    ui::TextMeasure& measure;
    Browser& browser;
    InstallerDialogs& dialogs;
};

} // namespace kestrel::host
