// The script's lines as the interpreter and the block commands take them: every line delivered
// moves the current line number (one on in the main pass, the line's own number in the deferred
// pass), so a block command that reads its own lines leaves the number on the last line it took.
// A line is a text: a NUL byte ends it, and the run's warnings hear of the rest that went.
#pragma once

#include "lexical/line_source.h"
#include "script/parser_state.h"

#include <string>
#include <vector>

namespace kestrel::script {

struct ScriptDiagnostic;

class InterpreterLines : public lexical::LineSource {
  public:
    InterpreterLines(ParserState& state, std::vector<ScriptDiagnostic>& warnings)
        : state_(state), warnings_(warnings) {}

    int readScriptLine(std::string& line) override;
    void setPlainRead(bool on) override { state_.reader.setPlainRead(on); }

    // The number of the last line delivered (the deferred pass skips the lines it filters).
    int32_t lastLineNumber() const { return state_.lineNumber; }
    // What the last read gave: a line (above 0), the end, an ignored line or an error.
    int lastResult() const { return lastResult_; }

  private:
    ParserState& state_;
    std::vector<ScriptDiagnostic>& warnings_;
    int lastResult_ = lexical::kLineEnd;
};

} // namespace kestrel::script
