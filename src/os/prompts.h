// Messages and questions shown to the user. The plug-in shows them as message boxes owned by
// its window; tests and `kst check` record them instead. Types and results carry the values
// of the Windows message box, so callers write exactly what the user will see.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::os {

// Buttons and icon of a message box, combined with |.
enum MessageBoxType : uint32_t {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNo = 0x04,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
};

// The button that closed a message box or a dialog.
enum PromptResult : int32_t {
    kIdOk = 1,
    kIdCancel = 2,
    kIdYes = 6,
    kIdNo = 7,
};

// Caption of script-level messages: one blank.
inline constexpr std::string_view kDefaultCaption = " ";

// A screen made from script lines (exit message, first and last screen): the dialog template
// the plug-in runs, and the lines it was built from, for anyone who shows it as text.
struct ScreenDialog {
    std::vector<uint8_t> dialogTemplate;
    std::vector<std::string> lines;
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // Shows text with caption; type is a combination of MessageBoxType. Returns the button.
    virtual PromptResult messageBox(std::string_view text, std::string_view caption,
                                    uint32_t type) = 0;
    // Runs a screen modally; returns kIdOk or kIdCancel.
    virtual PromptResult showScreen(const ScreenDialog& screen) = 0;
};

} // namespace kestrel::os
