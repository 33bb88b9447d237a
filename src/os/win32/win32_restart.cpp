// Restarting the machine. Every NT version needs the shutdown privilege enabled first; without
// it the restart is refused.
#include "os/restart.h"
#include "os/win32/shutdown_privilege.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

namespace kestrel::os {

bool win32::enableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw))
        return false;
    win32::FileHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    // Succeeds even when the privilege is not granted; the last error tells.
    if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr))
        return false;
    return GetLastError() == ERROR_SUCCESS;
}

namespace {

class Win32Restart final : public Restart {
  public:
    bool restartMachine() override {
        // A refused privilege is not the end: where there are no tokens, none is needed, and
        // ExitWindowsEx's own answer is what counts.
        win32::enableShutdownPrivilege();
        return ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION |
                                             SHTDN_REASON_MINOR_INSTALLATION |
                                             SHTDN_REASON_FLAG_PLANNED) != 0;
    }
};

} // namespace

std::unique_ptr<Restart> makeNativeRestart() {
    return std::make_unique<Win32Restart>();
}

} // namespace kestrel::os
