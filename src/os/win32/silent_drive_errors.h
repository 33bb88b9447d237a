// While one of these lives, asking about an empty floppy or CD drive fails quietly instead of
// putting up the system's "no disk in the drive" box in front of the installation.
#pragma once

#include <windows.h>

namespace kestrel::os::win32 {

class SilentDriveErrors {
  public:
    SilentDriveErrors() {
        previous_ = SetErrorMode(SEM_FAILCRITICALERRORS);
        SetErrorMode(previous_ | SEM_FAILCRITICALERRORS);
    }
    ~SilentDriveErrors() { SetErrorMode(previous_); }
    SilentDriveErrors(const SilentDriveErrors&) = delete;
    SilentDriveErrors& operator=(const SilentDriveErrors&) = delete;

  private:
    UINT previous_ = 0;
};

} // namespace kestrel::os::win32
