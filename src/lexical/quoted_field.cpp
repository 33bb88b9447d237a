#include "lexical/quoted_field.h"

namespace kestrel::lexical {

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

QuotedField readQuotedField(FieldCursor& cursor) {
    QuotedField field;
    if (!quotedFieldFollows(cursor))
        return field;
    const size_t open = cursor.position();
    field.text = cursor.readQuoted();
    // The text before the opening quote is never changed by the read, so the closing quote is
    // looked for in the text as it now stands (a leading macro may have been expanded).
    field.state = quoteIsClosed(cursor.text(), open) ? QuotedField::State::Complete
                                                     : QuotedField::State::Unterminated;
    return field;
}

namespace {

std::optional<std::string> readQuotedOr(FieldCursor& cursor,
                                        std::string (FieldCursor::*readWord)()) {
    QuotedField quoted = readQuotedField(cursor);
    if (quoted.state == QuotedField::State::Unterminated)
        return std::nullopt;
    if (quoted.complete())
        return std::move(quoted.text);
    return (cursor.*readWord)();
}

} // namespace

std::optional<std::string> readQuotedOrWord(FieldCursor& cursor) {
    return readQuotedOr(cursor, &FieldCursor::readWord);
}

std::optional<std::string> readQuotedOrConditionWord(FieldCursor& cursor) {
    return readQuotedOr(cursor, &FieldCursor::readConditionWord);
}

std::string readTextOrWord(FieldCursor& cursor) {
    std::string text = cursor.readQuoted();
    if (text.empty())
        text = cursor.readWord();
    return text;
}

std::optional<std::string> readRequiredQuoted(FieldCursor& cursor) {
    QuotedField field = readQuotedField(cursor);
    if (!field.complete())
        return std::nullopt;
    return std::move(field.text);
}

} // namespace kestrel::lexical
