#include "window_capture.h"

#include "png_writer.h"

#include <fstream>
#include <vector>

namespace kestrel::host {

bool saveWindowPng(HWND window, bool clientOnly, const std::string& path) {
    RECT rect{};
    if (clientOnly ? !GetClientRect(window, &rect) : !GetWindowRect(window, &rect)) {
        return false;
    }
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    bool drawn = false;
    std::vector<uint8_t> rgb;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // The window's own device context holds what it and its controls drew; PrintWindow
        // is the fallback (Wine's leaves the controls out).
        HDC own = clientOnly ? GetDC(window) : GetWindowDC(window);
        drawn = own != nullptr && BitBlt(memory, 0, 0, width, height, own, 0, 0, SRCCOPY);
        if (own != nullptr) {
            ReleaseDC(window, own);
        }
        if (!drawn) {
            drawn = PrintWindow(window, memory, clientOnly ? PW_CLIENTONLY : 0);
        }
        GdiFlush();
        if (drawn) {
            rgb.resize(size_t(width) * size_t(height) * 3);
            const uint8_t* pixel = static_cast<const uint8_t*>(bits);
            for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
                rgb[i * 3] = pixel[i * 4 + 2];
                rgb[i * 3 + 1] = pixel[i * 4 + 1];
                rgb[i * 3 + 2] = pixel[i * 4];
            }
        }
        SelectObject(memory, old);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    if (!drawn) {
        return false;
    }
    std::vector<uint8_t> png = encodePng(uint32_t(width), uint32_t(height), rgb);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(out);
}

} // namespace kestrel::host
