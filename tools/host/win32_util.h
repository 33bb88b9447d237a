// Small Windows helpers the host shares between its parts.
#pragma once

#include "os/win32/win32_handle.h"

#include <windows.h>

#include <string>

namespace kestrel::host {

using os::win32::FileHandle;

// The system's text for an error code, without the trailing line break.
std::string lastErrorText(DWORD error = GetLastError());

std::string utf8FromWide(const std::wstring& wide);
// A window's text in UTF-8, read from any thread without waiting for the window's own.
std::string windowText(HWND window);
std::string windowClass(HWND window);

} // namespace kestrel::host
