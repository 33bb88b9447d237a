#include "host/win32/installation_dialogs.h"

#include <windows.h>

namespace kestrel::host::win32 {

InstallerDialogs* InstallationDialogs::get() {
    if (!made_ && make_)
        made_ = make_();
    return made_.get();
}

bool InstallationDialogs::ask(script::AskPrompt& prompt) {
    InstallerDialogs* dialogs = get();
    return dialogs && dialogs->ask(prompt);
}

bool InstallationDialogs::chooseOptions(const script::BuiltScreen& screen, bool exclusive,
                                        int32_t firstOption, int32_t endOption,
                                        lexical::OptionTables& options) {
    InstallerDialogs* dialogs = get();
    return dialogs && dialogs->chooseOptions(screen, exclusive, firstOption, endOption, options);
}

std::optional<std::string>
InstallationDialogs::chooseDestination(script::DirectoryPrompt& prompt,
                                       const DirectoryMaker& makeDirectories) {
    InstallerDialogs* dialogs = get();
    return dialogs ? dialogs->chooseDestination(prompt, makeDirectories) : std::nullopt;
}

void InstallationDialogs::openProgress(int32_t fileTotal, const ui::ByteProgress& bytes) {
    if (InstallerDialogs* dialogs = get())
        dialogs->openProgress(fileTotal, bytes);
}

void InstallationDialogs::showCurrentFile(const std::string& prompt, const std::string& fileName) {
    if (InstallerDialogs* dialogs = get())
        dialogs->showCurrentFile(prompt, fileName);
}

void InstallationDialogs::progressStep(bool fileFinished) {
    if (made_)
        made_->progressStep(fileFinished);
}

void InstallationDialogs::setDownloadPercent(int32_t percent) {
    if (made_)
        made_->setDownloadPercent(percent);
}

void InstallationDialogs::showPopup(const script::PopMessage& popup) {
    if (InstallerDialogs* dialogs = get())
        dialogs->showPopup(popup);
}

void InstallationDialogs::restackProgressBelowPopup() {
    if (made_)
        made_->restackProgressBelowPopup();
}

void InstallationDialogs::closeProgressAndPopup() {
    if (made_)
        made_->closeProgressAndPopup();
}

bool InstallationDialogs::pumpMessages() {
    if (InstallerDialogs* dialogs = get())
        return dialogs->pumpMessages();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam)); // the browser's own loop must see it
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}

void InstallationDialogs::cancelOpenDialog() {
    if (made_)
        made_->cancelOpenDialog();
}

} // namespace kestrel::host::win32
