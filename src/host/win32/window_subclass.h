// Taking over a window that belongs to someone else (the browser): its window procedure is
// replaced by ours, and the one it had is kept by this object, not by a class, so that two
// windows taken over never share it. Giving the window back restores that procedure only while
// ours is still the one installed; when another program has taken the window over since, ours
// stays in its chain and only passes messages on (the plug-in is then kept loaded, so the
// window never calls into code that is gone).
#pragma once

#include <windows.h>

namespace kestrel::host::win32 {

class WindowSubclass {
  public:
    WindowSubclass() = default;
    virtual ~WindowSubclass();
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // False when the window cannot be taken over (it is gone, or already ours).
    bool attach(HWND window);
    void detach();
    HWND window() const { return window_; }

  protected:
    // Every message of the window comes here first; the default passes it on.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT callPrevious(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
};

} // namespace kestrel::host::win32
