// What the installation asks of the plug-in window and, through it, of the browser. The
// Windows side (src/host/win32) answers it with the real window and NPN_GetURL; tests answer
// it with a recording fake.
#pragma once

#include "host/step_code.h"
#include "ui/geometry.h"

#include <cstdint>
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
    // Posts WM_INSTALLSTEP(code, the delivered-path buffer): a delivered file.
    virtual void postDelivery(StepCode code) = 0;
    // Waits until the thread has a message to handle, or milliseconds have passed; for a wait
    // inside the installation (an archive's next volume on its way) that must not spin.
    virtual void waitForMessages(uint32_t milliseconds) = 0;
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

    // The SCREENGRAPHIC picture, read from the delivered file (empty: none), drawn from now on.
    virtual void setScreenPicture(const std::string& path) = 0;
    // Shows the INTROSCREEN picture over the plug-in window (empty path: without a picture)
    // for seconds (0: until a key or a click); when it closes the window posts
    // StepCode::Continue once. False when it could not be shown (nothing will be posted).
    virtual bool showIntroScreen(const std::string& path, int32_t seconds) = 0;
    virtual void closeIntroScreen() = 0;
    // The locate panel with the file a drive search looks for, while the search runs.
    virtual void showLocatePanel(const std::string& fileName) = 0;
};

} // namespace kestrel::host
