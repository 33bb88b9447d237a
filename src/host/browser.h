// What the installation asks of the plug-in window and, through it, of the browser. The
// Windows side (src/host/win32) answers it with the real window and NPN_GetURL; tests answer
// it with a recording fake.
#pragma once

#include "host/step_code.h"
#include "ui/geometry.h"

#include <string>

namespace kestrel::host {

class Browser {
  public:
    virtual ~Browser() = default;
    // Asks the browser for url (backslashes already turned to '/'); the answer comes later as
    // a stream that the window turns into a posted step with this code. Never calls back
    // inside this call.
    virtual void requestUrl(const std::string& url, StepCode code) = 0;
    // Posts WM_INSTALLSTEP(code, no path) to the plug-in window: the step runs later, from the
    // window's message loop.
    virtual void postStep(StepCode code) = 0;
    // Asks the browser to leave the page (which destroys the instance). The window sends the
    // request once, however often it is asked.
    virtual void requestEndOfPage(bool restoreWindow) = 0;
    // Maximises the browser's frame, records the plug-in area again and starts watching the
    // browser's download percentage.
    virtual void enlargeBrowser() = 0;
    // The plug-in window's client rectangle in screen coordinates, as last recorded.
    virtual ui::Rect pluginArea() const = 0;
    // Invalidates the whole plug-in window (erasing) and repaints it at once.
    virtual void repaint() = 0;
};

} // namespace kestrel::host
