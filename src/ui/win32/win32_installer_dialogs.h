// The installer's dialogs on Windows: the questions, group choices and destination from the
// plug-in's resources and the script's templates, the progress dialog and the popup, and the
// screens (first, last, exit message) that os::MessageBoxPrompts shows through screenRunner().
//
// One object per installation, made by the plug-in with its module, its window and two
// callbacks; the settings and prompt texts it reads must outlive it, and it must not be
// destroyed while one of its calls is running (a dialog's message loop may dispatch the
// browser's destroy: cancelOpenDialog() ends the dialog, and the caller frees this object
// once the stack has unwound).
#pragma once

#include "host/installer_dialogs.h"
#include "os/message_box_prompts.h"
#include "os/prompts.h"
#include "ui/win32/dialog_environment.h"
#include "ui/win32/progress_dialogs.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kestrel::ui::win32 {

class Win32InstallerDialogs final : public host::InstallerDialogs {
  public:
    Win32InstallerDialogs(DialogHost host, const script::GlobalSettings& settings,
                          const script::PromptTexts& prompts);
    ~Win32InstallerDialogs() override;

    bool ask(script::AskPrompt& prompt) override;
    bool chooseOptions(const script::BuiltScreen& screen, bool exclusive, int32_t firstOption,
                       int32_t endOption, lexical::OptionTables& options) override;
    std::optional<std::string>
    chooseDestination(script::DirectoryPrompt& prompt,
                      const host::DirectoryMaker& makeDirectories) override;

    void openProgress(int32_t fileTotal, const ByteProgress& bytes) override;
    bool progressOpen() const override { return progress_ != nullptr; }
    void showCurrentFile(const std::string& prompt, const std::string& fileName) override;
    void progressStep(bool fileFinished) override;
    void setDownloadPercent(int32_t percent) override;

    void showPopup(const script::PopMessage& popup) override;
    // With a popup up: places the progress dialog again below it, shows the popup's owned
    // windows and activates the progress dialog. Either way the progress dialog is repainted.
    void restackProgressBelowPopup() override;
    void closeProgressAndPopup() override;

    // Dispatches pending messages (the progress dialog's keys included). True once the user
    // has confirmed quitting in the progress dialog, and once the instance is being
    // destroyed.
    bool pumpMessages() override;
    void cancelOpenDialog() override;

    // The screen half of os::Prompts: a first or last screen or the exit message, modally.
    os::PromptResult showScreen(const os::ScreenDialog& screen);
    os::ScreenRunner screenRunner();

    // The progress dialog's window, where the status watcher sends the download percentage
    // (WM_USER+6); null when there is none.
    HWND progressWindow() const;
    HWND popupWindow() const;
    // True while a handler of one of the modeless dialogs runs (the quit question over the
    // progress dialog, say): this object must not be freed under it.
    bool busy() const;

  private:
    // Closes a modeless dialog; one whose handler is running is hidden and freed later.
    template <typename Dialog> void dispose(std::unique_ptr<Dialog>& dialog);
    void freeRetired();
    void quitFromProgress();

    DialogEnvironment environment_;
    std::unique_ptr<ProgressDialog> progress_;
    std::unique_ptr<PopMessageDialog> popup_;
    std::vector<std::unique_ptr<DialogWindow>> retired_;
    bool cancelled_ = false;
};

} // namespace kestrel::ui::win32
