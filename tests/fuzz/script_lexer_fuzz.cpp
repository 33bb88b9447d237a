// Feeds arbitrary bytes to the script's lexical layer: as a script file to the line reader
// (main pass, deferred blocks, deferred serving) and as lines to the field readers, with
// macro values that grow the line. Every reader must stay within its limits and finish.
#include "lexical/field_cursor.h"
#include "lexical/line_source.h"
#include "lexical/macros.h"
#include "os/memory_input_file.h"
#include "script/script_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace kestrel;
using namespace kestrel::script;

void readFields(const std::string& line, const lexical::MacroVariables& macros) {
    lexical::FieldCursor cursor(line, &macros);
    for (size_t step = 0; step < 4 * lexical::FieldCursor::kCapacity && !cursor.atEnd(); ++step) {
        const size_t before = cursor.position();
        const char choice = line[step % line.size()];
        std::string field;
        switch (uint8_t(choice) % 9) {
        case 0:
            field = cursor.readKeyword();
            break;
        case 1:
            field = cursor.readWord();
            break;
        case 2:
            field = cursor.readConditionWord();
            break;
        case 3:
            field = cursor.readQuoted();
            break;
        case 4:
            cursor.quotedLength();
            break;
        case 5:
            field = cursor.readParenthesized();
            break;
        case 6:
            cursor.readNumber();
            break;
        case 7:
            cursor.readOperator();
            break;
        default:
            cursor.takeEquals();
            break;
        }
        if (cursor.lineLength() > lexical::FieldCursor::kCapacity ||
            field.size() > lexical::FieldCursor::kCapacity || cursor.position() < before ||
            cursor.position() > cursor.lineLength())
            __builtin_trap();
    }
    lexical::MacroString item(line);
    item.expandAllMacros(macros);
    std::string leading = line;
    if (lexical::expandLeadingMacro(leading, macros).size() > lexical::kMacroTextCapacity ||
        item.text().size() > lexical::MacroString::kCapacity)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lexical::MacroVariables macros;
    macros.setWindowsDir(std::string(600, 'W'));
    macros.setLocateDir("$LOCATEDIR$\\$WINDIR$");
    macros.setDefaultDir("$ASK1$$DEFAULTDIR$");
    macros.setAsk(1, std::string(300, 'a') + "$ASK1$");
    macros.setSourceDir("$SOURCEDIR$");

    ScriptKey key;
    if (size >= 11) {
        key.count = data[0];
        std::memcpy(key.bytes.data(), data + 1, kScriptKeySize);
    }
    ScriptReader reader;
    reader.setKey(key);
    // Seven bytes a read: line ends and the chunk refills fall anywhere.
    reader.beginMainPass(std::make_unique<os::MemoryInputFile>(
        std::string(32, '\0') + std::string(reinterpret_cast<const char*>(data), size), 7));
    std::string line;
    int32_t lineNumber = 0;
    while (reader.readScriptLine(line) == 1) {
        ++lineNumber;
        if (line.size() > ScriptReader::kLineCapacity)
            __builtin_trap();
        if (!line.empty()) {
            readFields(line, macros);
            if (line[0] == 'I' && reader.bufferDeferredBlock(line, lineNumber) < 0)
                break;
        }
    }
    reader.endMainPass();
    reader.runDeferredPass([&] {
        for (int r, served = 0; (r = reader.readScriptLine(line)) != lexical::kLineEnd; ++served) {
            if (r == lexical::kLineError)
                return 1;
            if (served > int(DeferredBlock::kMaxLines))
                __builtin_trap();
        }
        return 0;
    });
    return 0;
}
