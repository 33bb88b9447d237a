#include "script/interpreter_lines.h"

#include "lexical/warning_texts.h"
#include "script/interpreter.h"

namespace kestrel::script {

int InterpreterLines::readScriptLine(std::string& line) {
    const int result = state_.reader.readScriptLine(line);
    lastResult_ = result;
    if (result <= 0)
        return result;
    state_.lineNumber = state_.reader.deferredPass() ? result : state_.lineNumber + 1;
    const size_t nul = line.find('\0');
    if (nul != std::string::npos) {
        warnings_.push_back(
            {state_.lineNumber, std::string(lexical::warnings::kNulByte), line.substr(0, nul)});
        line.resize(nul);
    }
    return result;
}

} // namespace kestrel::script
