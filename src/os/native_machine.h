// The machine the plug-in runs on, as the operating system reports it. Only the Windows
// builds define these; the tests and `kst check` describe a machine of their own instead.
#pragma once

#include "os/directory_search.h"
#include "os/drives.h"
#include "os/file_version.h"
#include "os/processes.h"
#include "os/registry_reader.h"
#include "os/system_details.h"
#include "os/system_info.h"
#include "os/volumes.h"

#include <memory>

namespace kestrel::os {

std::unique_ptr<SystemInfo> makeNativeSystemInfo();
std::unique_ptr<SystemDetails> makeNativeSystemDetails();
std::unique_ptr<Drives> makeNativeDrives();
std::unique_ptr<Volumes> makeNativeVolumes();
std::unique_ptr<DirectorySearch> makeNativeDirectorySearch();
std::unique_ptr<RegistryReader> makeNativeRegistryReader();
std::unique_ptr<FileVersionReader> makeNativeFileVersionReader();
std::unique_ptr<Processes> makeNativeProcesses();

} // namespace kestrel::os
