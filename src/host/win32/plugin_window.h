// The window the browser gives a plug-in instance, taken over for the installation: it carries
// out the steps posted to it, paints the installation's screen, and is what the installation
// asks of the browser (downloads through NPN_GetURL, leaving the page, the browser's size and
// its download percentage). It owns the instance's session and the Windows services it runs
// on.
//
// The browser may destroy the instance while a call of ours is on the stack (a dialog's
// message loop dispatches its messages): the window then lives on until that call has
// returned, and deletes itself.
#pragma once

#include "host/browser.h"
#include "host/npapi.h"
#include "host/plugin_process.h"
#include "host/plugin_session.h"
#include "host/win32/installation_dialogs.h"
#include "host/win32/status_watcher.h"
#include "host/win32/win32_engine_services.h"
#include "host/win32/window_subclass.h"
#include "ui/win32/gdi_text_measure.h"
#include "ui/win32/intro_window.h"
#include "ui/win32/win32_installer_dialogs.h"
#include "ui/win32/window_picture.h"

#include <windows.h>

#include <memory>
#include <string>

namespace kestrel::host::win32 {

// WM_INSTALLSTEP: wParam a step code, lParam 0 or the delivered-path buffer.
inline constexpr UINT WM_INSTALLSTEP = WM_USER + 1;
// The browser's command that leaves the page (and so destroys the instance).
inline constexpr WPARAM kLeavePageCommand = 0x800C;

class PluginWindow final : public WindowSubclass, public Browser {
  public:
    // Takes window over; null when it cannot be (the user has been told).
    static PluginWindow* create(HWND window, HINSTANCE module, PluginProcess& process,
                                NPNetscapeFuncs* browser, NPP npp);
    PluginWindow(const PluginWindow&) = delete;
    PluginWindow& operator=(const PluginWindow&) = delete;

    PluginSession& session() { return session_; }

    // The instance is being destroyed: the installation ends, the browser is asked nothing
    // more, and the window is given back, now or once the call on the stack has returned.
    void release();

    // Counts a call into the window from the browser (a stream handed over, say), so that a
    // destroy during it waits too.
    class Use {
      public:
        explicit Use(PluginWindow& window) : window_(window) { ++window_.depth_; }
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

      private:
        PluginWindow& window_;
    };

    // Browser
    void requestUrl(const std::string& url, StepCode code) override;
    void postStep(StepCode code) override;
    void postDelivery(StepCode code) override;
    void waitForMessages(uint32_t milliseconds) override;
    void requestEndOfPage(bool restoreWindow) override;
    void enlargeBrowser() override;
    ui::Rect pluginArea() const override;
    void repaint() override;
    void setScreenPicture(const std::string& path) override;
    bool showIntroScreen(const std::string& path, int32_t seconds) override;
    void closeIntroScreen() override;
    void showLocatePanel(const std::string& fileName) override;

  private:
    PluginWindow(HWND window, HINSTANCE module, PluginProcess& process, NPNetscapeFuncs* browser,
                 NPP npp);
    ~PluginWindow() override;

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    LPARAM deliveredPathBuffer() const {
        return reinterpret_cast<LPARAM>(&session_.deliveredPath());
    }
    // Removes our steps still queued for the window, so the browser never receives them.
    void dropQueuedSteps();
    // The installer's dialogs, made the first time they are needed; null before the script.
    ui::win32::Win32InstallerDialogs* installerDialogs();
    os::PromptResult showScreen(const os::ScreenDialog& screen);
    void paintBackground(HDC dc, const script::InstallScript& script);
    void paintTitle(HDC dc, const script::InstallScript& script);

    HWND handle_;
    HINSTANCE module_;
    PluginProcess& process_;
    NPNetscapeFuncs* browser_;
    NPP npp_;
    StatusWatcher status_;
    ui::win32::GdiTextMeasure measure_;
    // Points into dialogs_, which owns it and frees it only with this window, once no call of
    // the dialogs can be on the stack.
    ui::win32::Win32InstallerDialogs* installerDialogs_ = nullptr;
    InstallationDialogs dialogs_;
    Win32EngineServices services_;
    PluginSession session_;
    // The screen picture once it has been read whole; null without one or for a bad file.
    std::unique_ptr<ui::win32::WindowPicture> screenPicture_;
    std::unique_ptr<ui::win32::IntroWindow> intro_;
    int32_t depth_ = 0;
    bool released_ = false;
};

} // namespace kestrel::host::win32
