// What the plug-in window draws once the installation has started: its backdrop (a flat
// colour or the 8-pixel-band gradient, with the screen picture over it), the script's title
// on a shadow, and the panel shown while the disks are searched. The plug-in window calls
// these from its WM_ERASEBKGND, WM_PAINT and WM_USER+5 handlers.
#pragma once

#include "script/plugin_globals.h"
#include "ui/colour.h"
#include "ui/geometry.h"
#include "ui/title_layout.h"
#include "ui/win32/window_picture.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace kestrel::ui::win32 {

struct Backdrop {
    Colour top;
    Colour bottom;
    // The screen picture, when one has been loaded whole; null while it is still on its way.
    const WindowPicture* picture = nullptr;
    int32_t positionCode = 0;
};

// WM_ERASEBKGND: the client area (0, 0, client) painted with the gradient where the picture
// leaves room for it, then the picture.
void paintBackdrop(HDC dc, Size client, const Backdrop& backdrop);

// The TITLE options as the title's drawing takes them.
TitleStyle titleStyleOf(const script::TitleFont& font);

// WM_PAINT: the title at (20, 20) in its colour over a black copy at (23, 23). A style of size
// 0 takes the largest bold size that fits areaWidth less 20 pixels, measured on dc.
void paintTitle(HDC dc, std::string_view title, const TitleStyle& style, Colour colour,
                int32_t areaWidth);

// WM_USER+5: the locate panel across a client area of size client, its prompt in the screen
// font face at a height that grows with areaWidth.
void paintLocatePanel(HDC dc, Size client, int32_t areaWidth, std::string_view screenFace,
                      std::string_view prompt);
// The same, drawn at once on window's own device context; it stays until the next paint.
void showLocatePanel(HWND window, int32_t areaWidth, std::string_view screenFace,
                     std::string_view prompt);

} // namespace kestrel::ui::win32
