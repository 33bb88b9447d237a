// Owners of the drawing objects the plug-in's windows paint with, so that every path releases
// what it made and puts back what it selected.
#pragma once

#include "os/win32/win32_handle.h"
#include "ui/colour.h"
#include "ui/geometry.h"

#include <windows.h>

namespace kestrel::ui::win32 {

using Font = os::win32::Owned<os::win32::NullHandleTraits<HFONT, DeleteObject>>;
using Brush = os::win32::Owned<os::win32::NullHandleTraits<HBRUSH, DeleteObject>>;
using Pen = os::win32::Owned<os::win32::NullHandleTraits<HPEN, DeleteObject>>;
using Bitmap = os::win32::Owned<os::win32::NullHandleTraits<HBITMAP, DeleteObject>>;
using Palette = os::win32::Owned<os::win32::NullHandleTraits<HPALETTE, DeleteObject>>;
using MemoryDc = os::win32::CreatedDc;

inline COLORREF colorOf(Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

inline RECT rectOf(Rect rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// An object selected into a device context for one scope.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context, borrowed for one scope (null window: the screen's).
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// One rectangle filled with one colour.
inline void fillRect(HDC dc, Rect rect, Colour colour) {
    const Brush brush(CreateSolidBrush(colorOf(colour)));
    const RECT r = rectOf(rect);
    FillRect(dc, &r, brush.get());
}

} // namespace kestrel::ui::win32
