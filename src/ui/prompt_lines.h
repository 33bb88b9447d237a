// The prompt above the edit box of a destination or ASK dialog. The dialog has two rows of
// text: a prompt of up to 45 characters goes whole on the second row; a longer one is split
// at or before character 45, preferably at a space:
//
//   - a space at 45: the first row is characters 0..44, the next starts after the run of
//     spaces at 45;
//   - else the last space among characters 44 down to 1 ends the first row and is dropped;
//   - else the first row is characters 0..43 and the next starts at 44.
//
// The second row holds up to 50 characters. A prompt whose rest is longer than that (most
// prompts over 96 characters) is split again by the same rule, row after row, so that no
// text is lost; the window side adds a static text per extra row and moves the edit box and
// the buttons down by promptExtraHeight.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::ui {

inline constexpr size_t kPromptRowLength = 45;
inline constexpr size_t kPromptLastRowLength = 50;

// Rows of the dialog templates, in dialog units.
inline constexpr int32_t kPromptFirstRowTop = 4;
inline constexpr int32_t kPromptRowPitch = 8;

struct PromptLines {
    // One row: the whole prompt, shown on the second row (control 302) with the first
    // (control 301) empty. Two or more: the prompt split, from the first row on.
    std::vector<std::string> rows;

    bool split() const { return rows.size() >= 2; }
    std::string_view firstRow() const { return split() ? rows[0] : std::string_view(); }
    std::string_view secondRow() const {
        return rows.empty() ? std::string_view() : rows[split() ? 1 : 0];
    }
    friend bool operator==(const PromptLines&, const PromptLines&) = default;
};

PromptLines splitPrompt(std::string_view prompt);

// The prompt of a destination dialog that the script gave none: by ask mode, 1 the
// directory, 2 the drive, 3 both. Other modes ask nothing and have none.
std::string_view defaultDestinationPrompt(int32_t askMode);

// The rows a destination dialog shows: the script's prompt split, or the default (never
// split).
PromptLines destinationPromptLines(std::string_view prompt, bool promptGiven, int32_t askMode);
// The rows an ASK dialog shows; without a prompt it shows none.
PromptLines askPromptLines(std::string_view prompt, bool promptGiven);

// Top of row (0 for the first), in dialog units.
int32_t promptRowTop(size_t row);
// Dialog units that rows beyond the second add to the dialog's height and to the top of
// every control below the second row.
int32_t promptExtraHeight(const PromptLines& lines);

} // namespace kestrel::ui
