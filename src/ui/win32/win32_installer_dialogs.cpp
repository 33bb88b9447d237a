#include "ui/win32/win32_installer_dialogs.h"

#include "ui/win32/prompt_dialogs.h"

#include <algorithm>

namespace kestrel::ui::win32 {

Win32InstallerDialogs::Win32InstallerDialogs(DialogHost host,
                                             const script::GlobalSettings& settings,
                                             const script::PromptTexts& prompts)
    : environment_(std::move(host), settings, prompts) {}

Win32InstallerDialogs::~Win32InstallerDialogs() = default;

bool Win32InstallerDialogs::ask(script::AskPrompt& prompt) {
    AskDialog dialog(environment_, prompt);
    return dialog.ask();
}

bool Win32InstallerDialogs::chooseOptions(const script::BuiltScreen& screen, bool exclusive,
                                          int32_t firstOption, int32_t endOption,
                                          lexical::OptionTables& options) {
    GroupDialog dialog(environment_, exclusive, firstOption, endOption, options);
    return dialog.choose(screen);
}

std::optional<std::string>
Win32InstallerDialogs::chooseDestination(script::DirectoryPrompt& prompt,
                                         const host::DirectoryMaker& makeDirectories) {
    DestinationDialog dialog(environment_, prompt, makeDirectories);
    return dialog.choose();
}

void Win32InstallerDialogs::openProgress(int32_t fileTotal, const ByteProgress& bytes) {
    freeRetired();
    dispose(progress_);
    progress_ = std::make_unique<ProgressDialog>(environment_, fileTotal, bytes,
                                                 [this] { quitFromProgress(); });
    progress_->open();
}

void Win32InstallerDialogs::showCurrentFile(const std::string& prompt,
                                            const std::string& fileName) {
    if (progress_)
        progress_->showCurrentFile(prompt, fileName);
}

void Win32InstallerDialogs::progressStep(bool fileFinished) {
    if (progress_)
        progress_->step(fileFinished);
}

// Through the dialog's own message, the one the status watcher sends, so that both sources
// update and repaint the lower bar the same way.
void Win32InstallerDialogs::setDownloadPercent(int32_t percent) {
    if (progress_)
        SendMessageA(progress_->window(), kDownloadPercentMessage, WPARAM(percent), 0);
}

void Win32InstallerDialogs::showPopup(const script::PopMessage& popup) {
    freeRetired();
    dispose(popup_);
    popup_ = std::make_unique<PopMessageDialog>(environment_);
    popup_->open(popup.popup.dialogTemplate);
}

void Win32InstallerDialogs::restackProgressBelowPopup() {
    if (!progress_ || !progress_->window())
        return;
    if (popup_ && popup_->window()) {
        progress_->place();
        ShowOwnedPopups(popup_->window(), TRUE);
        SetActiveWindow(progress_->window());
    }
    UpdateWindow(progress_->window());
}

void Win32InstallerDialogs::closeProgressAndPopup() {
    dispose(progress_);
    dispose(popup_);
}

bool Win32InstallerDialogs::pumpMessages() {
    freeRetired();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: the loop above us ends on it.
            PostQuitMessage(int(message.wParam));
            break;
        }
        const HWND progress = progressWindow();
        if (progress && IsDialogMessageA(progress, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return cancelled_ || environment_.ending();
}

void Win32InstallerDialogs::cancelOpenDialog() {
    environment_.endEverything({progressWindow(), popupWindow()});
}

os::PromptResult Win32InstallerDialogs::showScreen(const os::ScreenDialog& screen) {
    PromptDialog dialog(environment_);
    return dialog.showScreen(screen.dialogTemplate);
}

os::ScreenRunner Win32InstallerDialogs::screenRunner() {
    return [this](const os::ScreenDialog& screen) { return showScreen(screen); };
}

HWND Win32InstallerDialogs::progressWindow() const {
    return progress_ ? progress_->window() : nullptr;
}

HWND Win32InstallerDialogs::popupWindow() const {
    return popup_ ? popup_->window() : nullptr;
}

bool Win32InstallerDialogs::busy() const {
    const auto running = [](const auto& dialog) { return dialog && dialog->busy(); };
    return running(progress_) || running(popup_) ||
           std::any_of(retired_.begin(), retired_.end(), running);
}

template <typename Dialog> void Win32InstallerDialogs::dispose(std::unique_ptr<Dialog>& dialog) {
    if (!dialog)
        return;
    if (dialog->busy()) {
        if (dialog->window())
            ShowWindow(dialog->window(), SW_HIDE);
        retired_.push_back(std::move(dialog));
        return;
    }
    dialog.reset();
}

void Win32InstallerDialogs::freeRetired() {
    std::erase_if(retired_, [](const auto& dialog) { return !dialog->busy(); });
}

void Win32InstallerDialogs::quitFromProgress() {
    if (cancelled_)
        return;
    cancelled_ = true;
    if (popup_ && popup_->window())
        ShowWindow(popup_->window(), SW_HIDE);
    environment_.postAbort();
}

} // namespace kestrel::ui::win32
