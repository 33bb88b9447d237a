// Screen blocks: the lines that follow BEGINFIRSTSCREEN, BEGINLASTSCREEN, EXITMESSAGE,
// BEGINGROUP and POPMESSAGE up to their end keyword, read into the text store together with
// the width their dialog needs.
#pragma once

#include "lexical/line_source.h"
#include "lexical/parse_result.h"
#include "ui/text_measure.h"
#include "ui/text_store.h"

#include <string>
#include <string_view>

namespace kestrel::ui {

// Whether a line ends a block: its first word, letters only after leading blanks and tabs,
// is the end keyword in any case (so "Exit now" ends an exit message).
bool isScreenBlockEnd(std::string_view line, std::string_view endKeyword);

enum class ScreenBlockError {
    None,
    ReadFailed,   // the line source reported an error of its own (its error flag is set)
    LineTooLong,  // a text line longer than 255 characters
    TooManyLines, // more than 255 lines before the end keyword
};

struct ScreenBlockRead : lexical::ParseStatus {
    ScreenBlockError problem = ScreenBlockError::None; // set together with error
    // Lines read after the keyword line: the end line, or the line at fault, included. The
    // interpreter's line number goes up by this many.
    int linesTaken = 0;
    // Where to report an error, counted from the keyword line, and the text of that line.
    int errorLineOffset = 0;
    std::string errorLine;
};

// The font a block is measured in: ownFace (a popup's face, or the face given on the block's
// keyword line), or the screen font when that is empty; italic and underline as the title's.
MeasureFont measureFontFor(std::string_view ownFace, std::string_view screenFace, bool italic,
                           bool underline);

// Reads the lines after a block's keyword line up to the line whose first word (letters only,
// leading blanks and tabs skipped) is endKeyword, compared ignoring case, and puts them into
// store as one block. The end line itself is not part of the block; without one the block takes
// every line to the end (with a warning). A line of separators only
// is a blank line. Each text line is measured: its width in characters is its extent divided
// by the base character width, minus 6, and the block is as wide as its widest line (at least
// 0, at most 255). The source serves the lines in plain-read mode meanwhile.
ScreenBlockRead readScreenBlock(lexical::LineSource& source, std::string_view endKeyword,
                                const MeasureFont& font, TextMeasure& measure, TextStore& store);

} // namespace kestrel::ui
