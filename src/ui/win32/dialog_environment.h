// What the installer's dialogs share: where they come from (the plug-in's module, its window,
// the plug-in area on the screen), the texts a script may change (read when each dialog opens),
// the place of the last popup, and the state that lets the browser end every open dialog
// when it destroys the instance.
#pragma once

#include "script/install_script.h"
#include "script/plugin_globals.h"
#include "ui/dialog_placement.h"
#include "ui/geometry.h"
#include "ui/win32/dialog_window.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string_view>

namespace kestrel::ui::win32 {

// What the plug-in gives its dialogs.
struct DialogHost {
    HINSTANCE module = nullptr;  // holds the dialog resources
    HWND pluginWindow = nullptr; // parent of every dialog
    // The plug-in window's client rectangle on the screen, as last recorded.
    std::function<Rect()> pluginArea;
    // Aborts the installation: an abort step reaches the session once the stack unwinds.
    std::function<void()> postAbort;
};

class DialogEnvironment {
  public:
    DialogEnvironment(DialogHost host, const script::GlobalSettings& settings,
                      const script::PromptTexts& prompts)
        : host_(std::move(host)), settings_(settings), prompts_(prompts) {}

    HINSTANCE module() const { return host_.module; }
    HWND parent() const { return host_.pluginWindow; }
    const script::GlobalSettings& settings() const { return settings_; }
    const script::PromptTexts& prompts() const { return prompts_; }
    ModalDialogs& modals() { return modals_; }
    void postAbort() const;

    // Moves dialog, keeping its size, to where a dialog of kind goes in the plug-in area: on
    // top, not activated. Placing a popup records its place for the progress dialog.
    void place(HWND dialog, DialogKind kind);

    // The quit question over owner; true only when the user answers Yes.
    bool confirmQuit(HWND owner, std::string_view caption) const;
    // A message with OK and the exclamation icon, captioned " ".
    void tell(HWND owner, std::string_view text) const;

    // The browser is destroying the instance: every open modal dialog ends as cancelled and
    // every message box over the plug-in's windows is answered No (or Cancel), and no dialog
    // or question is shown from now on.
    void endEverything(std::initializer_list<HWND> modeless);
    bool ending() const { return ending_; }

  private:
    DialogHost host_;
    const script::GlobalSettings& settings_;
    const script::PromptTexts& prompts_;
    ModalDialogs modals_;
    std::optional<PopupPlace> lastPopup_;
    bool ending_ = false;
};

} // namespace kestrel::ui::win32
