// Prompts shown as the system's message boxes, owned by a window of the plug-in. Screens need
// the dialogs, which live above this layer: whoever can run them hands in a runner. Only the
// Windows builds define this class.
#pragma once

#include "os/prompts.h"

#include <functional>
#include <utility>

namespace kestrel::os {

// A window of the platform (an HWND on Windows), passed through untouched.
using NativeWindow = void*;
using ScreenRunner = std::function<PromptResult(const ScreenDialog&)>;

class MessageBoxPrompts final : public Prompts {
  public:
    MessageBoxPrompts(NativeWindow owner, ScreenRunner screens)
        : owner_(owner), screens_(std::move(screens)) {}

    // The window that owns later boxes; null for none.
    void setOwner(NativeWindow owner) { owner_ = owner; }

    // A box whose owner window is gone is shown without an owner rather than not at all. A box
    // that cannot be shown answers No to a question and Cancel to OK/Cancel, never Yes or OK:
    // nothing is done without the user's consent.
    PromptResult messageBox(std::string_view text, std::string_view caption,
                            uint32_t type) override;
    // Runs the screen through the runner; Cancel when there is none.
    PromptResult showScreen(const ScreenDialog& screen) override;

  private:
    NativeWindow owner_;
    ScreenRunner screens_;
};

} // namespace kestrel::os
