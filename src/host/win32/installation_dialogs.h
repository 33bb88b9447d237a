// The dialogs of the installation that runs in one plug-in window. They read the script's
// texts, so they are made when first needed, once the script exists; before that, pumping
// messages is all there is to do.
#pragma once

#include "host/installer_dialogs.h"

#include <functional>
#include <memory>

namespace kestrel::host::win32 {

class InstallationDialogs final : public InstallerDialogs {
  public:
    // make: the dialogs for the current script, or null while there is none yet.
    explicit InstallationDialogs(std::function<std::unique_ptr<InstallerDialogs>()> make)
        : make_(std::move(make)) {}

    bool ask(script::AskPrompt& prompt) override;
    bool chooseOptions(const script::BuiltScreen& screen, bool exclusive, int32_t firstOption,
                       int32_t endOption, lexical::OptionTables& options) override;
    std::optional<std::string> chooseDestination(script::DirectoryPrompt& prompt,
                                                 const DirectoryMaker& makeDirectories) override;
    void openProgress(int32_t fileTotal, const ui::ByteProgress& bytes) override;
    bool progressOpen() const override { return made_ && made_->progressOpen(); }
    void showCurrentFile(const std::string& prompt, const std::string& fileName) override;
    void progressStep(bool fileFinished) override;
    void setDownloadPercent(int32_t percent) override;
    void showPopup(const script::PopMessage& popup) override;
    void restackProgressBelowPopup() override;
    void closeProgressAndPopup() override;
    bool pumpMessages() override;
    void cancelOpenDialog() override;

    // The dialogs made so far; null before the first was needed.
    InstallerDialogs* made() const { return made_.get(); }
    // The dialogs, made now when there are none yet; null while there is no script.
    InstallerDialogs* get();
    // Leaves the dialogs made so far unfreed, for good: a handler of theirs is still running
    // below a caller that is about to go away.
    void abandon() { static_cast<void>(made_.release()); }

  private:
    std::function<std::unique_ptr<InstallerDialogs>()> make_;
    std::unique_ptr<InstallerDialogs> made_;
};

} // namespace kestrel::host::win32
