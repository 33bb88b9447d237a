#include "sysedit/autoexec_edit.h"

#include "script/ansi_text.h"
#include "script/quoted_field.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::sysedit {

namespace {

using script::equalsIgnoreCase;

bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value after option ("/F:" or "/L:") in an upper-case text; false when it overflows.
bool readShareValue(std::string_view text, std::string_view option, int32_t& value) {
    value = 0;
    const size_t found = text.find(option);
    if (found == std::string_view::npos)
        return true;
    size_t i = found + option.size();
    while (i < text.size() && isWhiteSpace(text[i]))
        ++i;
    int64_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + (text[i] - '0');
        if (number > INT32_MAX) {
            value = INT32_MAX;
            return false;
        }
    }
    value = static_cast<int32_t>(number);
    return true;
}

} // namespace

bool readShareValues(std::string& text, ShareValues& values) {
    text = script::asciiUpper(text);
    const bool files = readShareValue(text, "/F:", values.files);
    const bool locks = readShareValue(text, "/L:", values.locks);
    return files && locks;
}

EditParseResult parseAutoexec(AutoexecEdit& edit, script::FieldCursor& cursor) {
    if (edit.mode == EditMode::None)
        edit.mode = EditMode::Modify;
    while (!cursor.atEnd()) {
        const std::string word = cursor.readWord();
        if (equalsIgnoreCase(word, "ASK")) {
            edit.mode = EditMode::ModifyThenAsk;
        } else if (equalsIgnoreCase(word, "ADDPATH")) {
            if (!cursor.takeEquals()) {
                edit.addDestination = true;
                continue;
            }
            std::optional<std::string> dir = script::readRequiredQuoted(cursor);
            if (!dir)
                return EditParseResult::SyntaxError;
            edit.pathList.emplace_back(*dir);
        } else if (equalsIgnoreCase(word, "SHARE")) {
            edit.shareWanted = true;
            if (!cursor.takeEquals())
                continue;
            std::optional<std::string> options = script::readRequiredQuoted(cursor);
            ShareValues values;
            if (!options || !readShareValues(*options, values))
                return EditParseResult::SyntaxError;
            edit.shareFiles = values.files;
            edit.shareLocks = values.locks;
        } else if (equalsIgnoreCase(word, "ADD")) {
            if (!cursor.takeEquals())
                return EditParseResult::SyntaxError;
            std::optional<std::string> line = script::readRequiredQuoted(cursor);
            if (!line)
                return EditParseResult::SyntaxError;
            edit.lineList.emplace_back(*line);
        } else {
            return EditParseResult::SyntaxError;
        }
    }
    return EditParseResult::Ok;
}

} // namespace kestrel::sysedit
