#include "script/interpreter_lines.h"

namespace kestrel::script {

int InterpreterLines::readScriptLine(std::string& line) {
    const int result = script_.reader.readScriptLine(line);
    lastResult_ = result;
    if (result > 0)
        script_.lineNumber = script_.reader.deferredPass() ? result : script_.lineNumber + 1;
    return result;
}

} // namespace kestrel::script
