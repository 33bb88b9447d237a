// The copy pipeline's progress, shown in the progress dialog: ticks, the current file and the
// byte count the dialog reads. The message pump reports a cancel also once the installation is
// being ended, so that a copy stops there.
#pragma once

#include "files/copy_services.h"
#include "host/installer_dialogs.h"
#include "ui/progress_counters.h"

#include <functional>
#include <string>

namespace kestrel::host {

class DialogProgress final : public files::InstallProgress {
  public:
    DialogProgress(InstallerDialogs& dialogs, ui::ByteProgress& bytes,
                   const std::string& copyFilePrompt, std::function<bool()> stopping)
        : dialogs_(dialogs), bytes_(bytes), copyFilePrompt_(copyFilePrompt),
          stopping_(std::move(stopping)) {}

    bool pumpMessages() override { return dialogs_.pumpMessages() || (stopping_ && stopping_()); }
    void showCurrentFile(const std::string& path) override {
        dialogs_.showCurrentFile(copyFilePrompt_, path);
    }
    void advance() override { dialogs_.progressStep(false); }
    bool countsBytes() const override { return bytes_.byteMode(); }
    int64_t bytesDone() const override { return bytes_.done; }
    void addBytesDone(uint64_t count) override { bytes_.done += int64_t(count); }

  private:
    InstallerDialogs& dialogs_;
    ui::ByteProgress& bytes_;
    const std::string& copyFilePrompt_;
    std::function<bool()> stopping_;
};

} // namespace kestrel::host
