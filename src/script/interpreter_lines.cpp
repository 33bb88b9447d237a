#include "script/interpreter_lines.h"

namespace kestrel::script {

int InterpreterLines::readScriptLine(std::string& line) {
    const int result = state_.reader.readScriptLine(line);
    lastResult_ = result;
    if (result > 0)
        state_.lineNumber = state_.reader.deferredPass() ? result : state_.lineNumber + 1;
    return result;
}

} // namespace kestrel::script
