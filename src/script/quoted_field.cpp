#include "script/quoted_field.h"

namespace kestrel::script {

namespace {

// Whether the quote opened at `open` is closed before the end; doubled quotes stand for one.
bool quoteIsClosed(const std::string& text, size_t open) {
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] != '"')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '"') {
            ++i;
            continue;
        }
        return true;
    }
    return false;
}

} // namespace

bool quotedFieldFollows(FieldCursor& cursor) {
    cursor.skipSeparators();
    return !cursor.atEnd() && cursor.rest().front() == '"';
}

std::optional<std::string> readRequiredQuoted(FieldCursor& cursor) {
    if (!quotedFieldFollows(cursor))
        return std::nullopt;
    const size_t open = cursor.position();
    std::string field = cursor.readQuoted();
    // The text before the opening quote is never changed by the read, so the closing quote is
    // looked for in the text as it now stands (a leading macro may have been expanded).
    if (!quoteIsClosed(cursor.text(), open))
        return std::nullopt;
    return field;
}

} // namespace kestrel::script
