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
    return parseEditWords(edit.mode, edit.lineList, cursor, [&](const std::string& word) {
        if (equalsIgnoreCase(word, "ADDPATH")) {
            if (!cursor.takeEquals()) {
                edit.addDestination = true;
                return true;
            }
            std::optional<std::string> dir = script::readRequiredQuoted(cursor);
            if (!dir)
                return false;
            edit.pathList.emplace_back(*dir);
            return true;
        }
        if (equalsIgnoreCase(word, "SHARE")) {
            edit.shareWanted = true;
            if (!cursor.takeEquals())
                return true;
            std::optional<std::string> options = script::readRequiredQuoted(cursor);
            ShareValues values;
            if (!options || !readShareValues(*options, values))
                return false;
            edit.shareFiles = values.files;
            edit.shareLocks = values.locks;
            return true;
        }
        return false;
    });
}

} // namespace kestrel::sysedit
