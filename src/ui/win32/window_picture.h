// A screen or intro picture, ready to draw on a window: the checked picture and, made the
// first time it is drawn, the palette it is drawn through when it has more than 16 colours.
#pragma once

#include "os/file_system.h"
#include "ui/geometry.h"
#include "ui/screen_picture.h"
#include "ui/win32/gdi.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrel::ui::win32 {

// Pictures larger than this are refused unread: no screen needs one.
inline constexpr int64_t kMaxPictureFileSize = 64 * 1024 * 1024;

class WindowPicture {
  public:
    explicit WindowPicture(ScreenPicture picture) : picture_(std::move(picture)) {}

    Size size() const { return Size{picture_.width, picture_.height}; }

    // Draws into a client area of size client at the place positionCode names (a picture
    // larger than the area shows its middle; TILE repeats it, FULLSCREEN stretches it).
    void draw(HDC dc, Size client, int32_t positionCode) const;

  private:
    ScreenPicture picture_;
    mutable Palette palette_;
    mutable std::vector<uint8_t> indexHeader_;
};

// The picture in the file at path: null when it cannot be read or does not describe its own
// bytes. Made whole before it is handed out, so that a window never paints half a picture.
std::unique_ptr<WindowPicture> loadWindowPicture(os::FileSystem& files, const std::string& path);

} // namespace kestrel::ui::win32
