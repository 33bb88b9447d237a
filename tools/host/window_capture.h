// Saves a window's picture as a PNG, drawn by the window itself (PrintWindow): the screen's
// device context gives black under Wine.
#pragma once

#include <windows.h>

#include <string>

namespace kestrel::host {

// clientOnly: the client area without frame and caption. False when nothing could be saved.
bool saveWindowPng(HWND window, bool clientOnly, const std::string& path);

} // namespace kestrel::host
