#include "ui/screen_block.h"

#include "lexical/ansi_text.h"
#include "lexical/line_source.h"
#include "lexical/line_words.h"

#include <algorithm>
#include <utility>

namespace kestrel::ui {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',';
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), isSeparator);
}

// Plain-read mode for as long as a block is read; blocks do not nest, so the mode before
// was off.
class PlainRead {
  public:
    explicit PlainRead(lexical::LineSource& source) : source_(source) {
        source_.setPlainRead(true);
    }
    ~PlainRead() { source_.setPlainRead(false); }
    PlainRead(const PlainRead&) = delete;
    PlainRead& operator=(const PlainRead&) = delete;

  private:
    lexical::LineSource& source_;
};

ScreenBlockRead failAtLine(ScreenBlockError error, int linesTaken, std::string line) {
    ScreenBlockRead result;
    result.error = true;
    result.problem = error;
    result.linesTaken = linesTaken;
    result.errorLineOffset = linesTaken;
    result.errorLine = std::move(line);
    return result;
}

} // namespace

MeasureFont measureFontFor(std::string_view ownFace, std::string_view screenFace, bool italic,
                           bool underline) {
    MeasureFont font;
    font.face = std::string(ownFace.empty() ? screenFace : ownFace);
    font.italic = italic;
    font.underline = underline;
    return font;
}

ScreenBlockRead readScreenBlock(lexical::LineSource& source, std::string_view endKeyword,
                                const MeasureFont& font, TextMeasure& measure, TextStore& store) {
    PlainRead plain(source);
    const int baseWidth = std::max(1, measure.baseCharWidth());
    ScreenBlock block;
    int linesTaken = 0;
    bool endMissing = false;
    std::string line;
    for (;;) {
        const int read = source.readScriptLine(line);
        if (read == lexical::kLineError) {
            ScreenBlockRead result;
            result.error = true;
            result.problem = ScreenBlockError::ReadFailed;
            result.linesTaken = linesTaken;
            return result;
        }
        if (read == lexical::kLineEnd) {
            // The block takes every line there is.
            endMissing = true;
            break;
        }
        ++linesTaken;
        if (read == lexical::kLineIgnore)
            continue;
        const bool blank = isBlank(line);
        if (!blank && isScreenBlockEnd(line, endKeyword))
            break;
        if (block.lines.size() == ScreenBlock::kMaxLines)
            return failAtLine(ScreenBlockError::TooManyLines, linesTaken, line);
        if (blank) {
            block.lines.emplace_back();
            continue;
        }
        if (line.size() > ScreenBlock::kMaxLineLength)
            return failAtLine(ScreenBlockError::LineTooLong, linesTaken, line);
        const int width = measure.textWidth(font, line) / baseWidth - 6;
        block.width = std::clamp(width, block.width, ScreenBlock::kMaxWidth);
        block.lines.push_back(line);
    }
    store.put(block);
    ScreenBlockRead result;
    result.linesTaken = linesTaken;
    if (endMissing)
        result.warn("no " + std::string(endKeyword) + ": the block runs to the end of the script");
    return result;
}

bool isScreenBlockEnd(std::string_view line, std::string_view endKeyword) {
    return lexical::equalsIgnoringAsciiCase(lexical::leadingLetterWord(line), endKeyword);
}

} // namespace kestrel::ui
