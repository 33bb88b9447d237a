// The privilege a program needs to restart the machine on Windows NT and later.
#pragma once

namespace kestrel::os::win32 {

// Enables the shutdown privilege in the process's token. False when the token cannot be
// opened or the privilege is not granted (on systems without tokens there is nothing to do).
bool enableShutdownPrivilege();

} // namespace kestrel::os::win32
