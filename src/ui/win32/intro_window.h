// The intro picture: a window laid over the plug-in window when the INTROSCREEN picture has
// arrived, ended by its timer, a character key or a mouse click, whichever comes first. The
// end is reported once, however many keys, clicks and ticks follow; the window stays (still
// showing the picture) until its owner deletes it.
#pragma once

#include "ui/win32/window_picture.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace kestrel::ui::win32 {

class IntroWindow {
  public:
    // Shows picture over pluginWindow for seconds (0: until a key or a click). onEnd is called
    // once when the intro ends; it must not delete this object (post a message instead). With
    // no picture there is nothing to show: onEnd is called at once and no window is made.
    static std::unique_ptr<IntroWindow> show(HINSTANCE module, HWND pluginWindow,
                                             std::unique_ptr<WindowPicture> picture,
                                             int32_t seconds, std::function<void()> onEnd);
    ~IntroWindow();
    IntroWindow(const IntroWindow&) = delete;
    IntroWindow& operator=(const IntroWindow&) = delete;

    HWND window() const { return window_; }
    bool ended() const { return ended_; }

  private:
    IntroWindow(HINSTANCE module, std::unique_ptr<WindowPicture> picture,
                std::function<void()> onEnd);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void end();

    HINSTANCE module_;
    std::unique_ptr<WindowPicture> picture_;
    std::function<void()> onEnd_;
    HWND window_ = nullptr;
    bool timerSet_ = false;
    bool ended_ = false;
};

} // namespace kestrel::ui::win32
