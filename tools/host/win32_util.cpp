#include "win32_util.h"

#include <iterator>

namespace kestrel::host {

std::string lastErrorText(DWORD error) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : message;
}

std::string utf8FromWide(const std::wstring& wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string text(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), length, nullptr,
                        nullptr);
    return text;
}

std::string windowText(HWND window) {
    // Reads the stored text without sending a message, so a busy window never blocks us.
    wchar_t text[4096] = {};
    int length = InternalGetWindowText(window, text, int(std::size(text)));
    return utf8FromWide(std::wstring(text, size_t(length > 0 ? length : 0)));
}

std::string windowClass(HWND window) {
    char name[256] = {};
    return std::string(name, size_t(GetClassNameA(window, name, sizeof name)));
}

} // namespace kestrel::host
