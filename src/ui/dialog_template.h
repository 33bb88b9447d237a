// Dialogs made from screen blocks: the first and last screens, the exit message, the group
// choices and the popup messages. Each builder takes the block that readScreenBlock left in
// the text store and returns the bytes of an in-memory dialog template (see
// dialog_template_writer.h) that the plug-in creates its dialog from.
//
// Sizes are in dialog units: a block w characters wide and L lines high gives a dialog 4w
// wide with 8 units per line (10 for an exclusive group), the buttons on the row below.
#pragma once

#include "lexical/option_tables.h"
#include "lexical/parse_result.h"
#include "ui/text_store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::ui {

enum class ScreenMode : int {
    Screen = 0,      // first or last screen: static texts, OK and Cancel
    Group = 1,       // group of options: check boxes, OK and Cancel
    ExitMessage = 2, // static texts, OK only
};

// Control ids and styles of the dialogs made here.
inline constexpr uint16_t kStaticTextId = 0xFFFF;
inline constexpr uint16_t kOkId = 1;
inline constexpr uint16_t kCancelId = 2;
inline constexpr uint16_t kFirstOptionId = 100; // + the option's index within its dialog

inline constexpr uint32_t kScreenDialogStyle = 0x80400040; // popup, dialog frame, own font
inline constexpr uint32_t kPopupDialogStyle = 0x90400040;  // the same, visible
inline constexpr uint32_t kGroupedStaticStyle = 0x50020000;
inline constexpr uint32_t kStaticStyle = 0x50000000;
inline constexpr uint32_t kCheckBoxStyle = 0x50010003;         // automatic, tab stop
inline constexpr uint32_t kRadioButtonStyle = 0x50010009;      // automatic, tab stop
inline constexpr uint32_t kFirstRadioButtonStyle = 0x50030009; // ... and the group style
inline constexpr uint32_t kOkButtonStyle = 0x50010001;         // default push button
inline constexpr uint32_t kCancelButtonStyle = 0x50010000;

// Font and buttons of a screen dialog.
struct DialogLook {
    std::string face;
    uint16_t pointSize = 10;
    std::string_view okText;
    std::string_view cancelText;
};

// The face and size a block's dialog is drawn in: the block's own (from its keyword line, or
// a popup's), else the screen font; a size of 0 (or below) is 10 points, one above 255 is 255.
DialogLook dialogLookFor(std::string_view ownFace, int32_t ownSize, std::string_view screenFace,
                         std::string_view okText, std::string_view cancelText);

// What the group builders count across all group blocks of one installation.
struct GroupBuildState {
    int32_t optionCount = 0;      // options made so far; the next option's number
    bool radioButtonMade = false; // only the installation's first radio button starts a group
};

enum class TemplateError {
    None,
    NoBlock,        // the text store holds no block at its position
    NoMarker,       // an option line without "[ ]" or "[X]"
    TooManyOptions, // an option beyond the 100 the option tables hold
};

struct BuiltTemplate : lexical::ParseStatus {
    TemplateError problem = TemplateError::None; // set together with error
    std::vector<uint8_t> bytes;                  // the dialog template; empty after an error
    std::vector<std::string> lines;              // the block's lines (blank ones empty)
    // On an error: the block line at fault (0 = the first line after the keyword line) and
    // its text.
    int errorLineIndex = -1;
    std::string errorLine;
};

// Modes Screen and ExitMessage: every text line a static text. Mode Group: a line that starts
// with a digit is an option; its first two characters are its group number (0..99), which
// the option tables map to the option's number; its marker is the first "[ ]", else the first
// "[X]" (which preselects it); its check box is indented to 2 characters before the marker
// and shows the text after it. Other lines of a group lose their first two characters.
BuiltTemplate buildScreenTemplate(TextStore& store, ScreenMode mode, const DialogLook& look,
                                  lexical::OptionTables& options, GroupBuildState& groups);
// A group with one choice: radio buttons on rows of 10 dialog units.
BuiltTemplate buildExclusiveGroupTemplate(TextStore& store, const DialogLook& look,
                                          lexical::OptionTables& options, GroupBuildState& groups);
// A popup message: static texts only, as wide as the block, no buttons; created visible.
BuiltTemplate buildPopupTemplate(TextStore& store, const DialogLook& look);

} // namespace kestrel::ui
