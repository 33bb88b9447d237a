// The dialogs an installation shows while it runs, beside the message boxes and screens of
// os::Prompts: the ASK questions, the group choices, the destination, and the two modeless
// windows that stay up while files are installed (the progress dialog and a POPMESSAGE
// popup). The Windows side (src/ui/win32) shows them from the plug-in's dialog resources and
// the templates built from the script; tests answer them with a scripted fake.
//
// Every modal call runs its own message loop; while it runs, other window messages of the
// thread are dispatched (a download may arrive, the browser may leave the page).
#pragma once

#include "script/install_script.h"
#include "ui/progress_counters.h"

#include <functional>
#include <optional>
#include <string>

namespace kestrel::host {

// Makes the missing levels of a chosen destination, logging each one made; false after a
// failure that it has reported to the user (the dialog then stays open).
using DirectoryMaker = std::function<bool(const std::string& path)>;

class InstallerDialogs {
  public:
    virtual ~InstallerDialogs() = default;

    // ASKn: splits the prompt, shows the question with the record's answer as the default
    // and, on OK, stores the typed answer in the record. False when the user cancelled
    // (confirming the quit question).
    virtual bool ask(script::AskPrompt& prompt) = 0;

    // A group screen: its options [firstOption, endOption) as check boxes or radio buttons,
    // preselected options ticked; on OK the ticked ones are marked selected in options (at
    // least one must be ticked). False when the user cancelled.
    virtual bool chooseOptions(const script::BuiltScreen& screen, bool exclusive,
                               int32_t firstOption, int32_t endOption,
                               lexical::OptionTables& options) = 0;

    // DEFAULTDIR, DIR2, DIR3 with ask mode 1 to 3: splits the prompt, asks, checks the typed
    // path and has makeDirectories create it. The chosen path, or nothing when the user
    // cancelled.
    virtual std::optional<std::string> chooseDestination(script::DirectoryPrompt& prompt,
                                                         const DirectoryMaker& makeDirectories) = 0;

    // The progress dialog for fileTotal files (no window when fileTotal is 0). bytes is the
    // installation's byte count, read at every step; it outlives the dialog.
    virtual void openProgress(int32_t fileTotal, const ui::ByteProgress& bytes) = 0;
    virtual bool progressOpen() const = 0;
    // The prompt line and the current file (shown in capitals).
    virtual void showCurrentFile(const std::string& prompt, const std::string& fileName) = 0;
    // A finished file, or a tick of work done within one.
    virtual void progressStep(bool fileFinished) = 0;
    // The browser's download percentage, as its status window shows it (the lower bar).
    virtual void setDownloadPercent(int32_t percent) = 0;

    // Shows a POPMESSAGE popup in place of the current one.
    virtual void showPopup(const script::PopMessage& popup) = 0;
    // Before the next file: places the progress dialog again below the popup, shows the
    // popup's owned windows and activates the progress dialog.
    virtual void restackProgressBelowPopup() = 0;
    // Closes the progress dialog and the popup together.
    virtual void closeProgressAndPopup() = 0;

    // Dispatches the thread's pending messages; true once the user has confirmed quitting in
    // the progress dialog.
    virtual bool pumpMessages() = 0;
    // Ends whatever modal dialog or message box is open, as if cancelled (the browser is
    // destroying the instance).
    virtual void cancelOpenDialog() = 0;
};

} // namespace kestrel::host
