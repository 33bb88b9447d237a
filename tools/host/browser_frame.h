// The browser's windows: a maximisable frame whose first child holds the plug-in and whose
// second child is the status window, whose text is the current download's percentage as a
// decimal number (a plug-in may subclass it and read the text as it paints).
#pragma once

#include <windows.h>

namespace kestrel::host {

// The command with which a page asks the browser to leave it.
constexpr WPARAM kLeavePageCommand = 0x800C;

class FrameEvents {
  public:
    virtual ~FrameEvents() = default;
    virtual void leavePage(bool byPlugin) = 0;
    virtual void pluginAreaResized() = 0;
    // Messages of WM_APP and above.
    virtual void appMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

class BrowserFrame {
  public:
    explicit BrowserFrame(FrameEvents& events) : events_(events) {}
    BrowserFrame(const BrowserFrame&) = delete;
    BrowserFrame& operator=(const BrowserFrame&) = delete;
    ~BrowserFrame();

    bool create(const char* title);
    void show();
    void destroy();
    HWND frame() const { return frame_; }
    HWND pluginArea() const { return pluginArea_; }
    void setPercent(int percent);

  private:
    static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void layout();

    FrameEvents& events_;
    HWND frame_ = nullptr;
    HWND pluginArea_ = nullptr;
    HWND status_ = nullptr;
    int percent_ = -1;
};

} // namespace kestrel::host
