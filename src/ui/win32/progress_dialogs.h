// The two windows that stay up while files are installed: the progress dialog (resource 100:
// the prompt, the current file in capitals, the file bar and the download bar, Cancel) and a
// POPMESSAGE popup above it. Both are modeless; their owner closes them.
#pragma once

#include "ui/geometry.h"
#include "ui/progress_counters.h"
#include "ui/win32/dialog_environment.h"
#include "ui/win32/dialog_window.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace kestrel::ui::win32 {

// Progress messages, as the installation and the status watcher send them.
inline constexpr UINT kProgressStepMessage = WM_USER;        // wParam 1: a file done, 0: a tick
inline constexpr UINT kDownloadPercentMessage = WM_USER + 6; // wParam: the percentage

class ProgressDialog final : public DialogWindow {
  public:
    // onQuit runs when the user confirms the quit question; the dialog itself only hides.
    ProgressDialog(DialogEnvironment& environment, int32_t fileTotal, const ByteProgress& bytes,
                   std::function<void()> onQuit)
        : environment_(environment), counters_(fileTotal), bytes_(bytes),
          onQuit_(std::move(onQuit)) {}

    // Makes the window; none for a file total of 0.
    void open();
    void showCurrentFile(std::string_view prompt, std::string_view fileName);
    void step(bool fileFinished);
    void place() { environment_.place(window(), DialogKind::Progress); }

    const ProgressCounters& counters() const { return counters_; }

  private:
    void onInit() override;
    void onOk() override {}
    void onCancel() override;
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void redraw(const Rect& bar);
    void paint();

    DialogEnvironment& environment_;
    ProgressCounters counters_;
    const ByteProgress& bytes_;
    std::function<void()> onQuit_;
    Rect fileBar_;
    Rect downloadBar_;
    bool asking_ = false;
    bool quit_ = false;
};

class PopMessageDialog final : public DialogWindow {
  public:
    explicit PopMessageDialog(DialogEnvironment& environment) : environment_(environment) {}

    // Shows the popup's template (created visible, with no parent).
    void open(const std::vector<uint8_t>& dialogTemplate);

  private:
    void onInit() override { environment_.place(window(), DialogKind::PopMessage); }
    // A popup asks nothing: Enter and Escape leave it up.
    void onOk() override {}
    void onCancel() override {}

    DialogEnvironment& environment_;
};

} // namespace kestrel::ui::win32
