#include "host/win32/stand_in_dialogs.h"

#include <windows.h>

namespace kestrel::host::win32 {
namespace {

class StandInDialogs final : public InstallerDialogs {
  public:
    bool ask(script::AskPrompt&) override { return false; }
    bool chooseOptions(const script::BuiltScreen&, bool, int32_t, int32_t,
                       lexical::OptionTables&) override {
        return false;
    }
    std::optional<std::string> chooseDestination(script::DirectoryPrompt&,
                                                 const DirectoryMaker&) override {
        return std::nullopt;
    }
    void openProgress(int32_t, const ui::ByteProgress&) override { open_ = true; }
    bool progressOpen() const override { return open_; }
    void showCurrentFile(const std::string&, const std::string&) override {}
    void progressStep(bool) override {}
    void setDownloadPercent(int32_t) override {}
    void showPopup(const script::PopMessage&) override {}
    void restackProgressBelowPopup() override {}
    void closeProgressAndPopup() override { open_ = false; }
    bool pumpMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(int(message.wParam));
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return false;
    }
    void cancelOpenDialog() override {}

  private:
    bool open_ = false;
};

class AverageWidthMeasure final : public ui::TextMeasure {
  public:
    int baseCharWidth() override { return LOWORD(GetDialogBaseUnits()); }
    int textWidth(const ui::MeasureFont&, std::string_view text) override {
        return baseCharWidth() * int(text.size());
    }
};

} // namespace

std::unique_ptr<InstallerDialogs> makeStandInDialogs() {
    return std::make_unique<StandInDialogs>();
}

std::unique_ptr<ui::TextMeasure> makeStandInMeasure() {
    return std::make_unique<AverageWidthMeasure>();
}

} // namespace kestrel::host::win32
