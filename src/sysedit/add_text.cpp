#include "sysedit/add_text.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/quoted_field.h"

#include <optional>

namespace kestrel::sysedit {

namespace {

bool readFields(lexical::FieldCursor& cursor, const SearchTokens& tokens, TextInsertion& entry) {
    std::optional<std::string> text = lexical::readRequiredQuoted(cursor);
    if (!text)
        return false;
    entry.text = std::move(*text);
    if (entry.text.size() > TextInsertion::kTextCapacity ||
        !replaceToken(entry.text, "$LEFT$", tokens.left, TextInsertion::kTextCapacity) ||
        !replaceToken(entry.text, "$RIGHT$", tokens.right, TextInsertion::kTextCapacity))
        return false;
    if (cursor.atEnd())
        return false; // a text without a file

    if (lexical::quotedFieldFollows(cursor)) {
        std::optional<std::string> file = lexical::readRequiredQuoted(cursor);
        if (!file)
            return false;
        entry.file = std::move(*file);
    } else {
        entry.file = cursor.readWord();
    }
    if (entry.file.empty() || entry.file.size() > TextInsertion::kFileCapacity)
        return false;

    if (lexical::quotedFieldFollows(cursor)) {
        std::optional<std::string> where = lexical::readRequiredQuoted(cursor);
        if (!where)
            return false;
        entry.where = std::move(*where);
        if (entry.where.size() > TextInsertion::kWhereCapacity ||
            !replaceToken(entry.where, "$SEARCH$", tokens.lineNumber,
                          TextInsertion::kWhereCapacity))
            return false;
    }

    while (!cursor.atEnd()) {
        if (!lexical::equalsIgnoringAsciiCase(cursor.readWord(), "REPLACE"))
            return false;
        entry.replace = true;
    }
    return true;
}

} // namespace

bool replaceToken(std::string& text, std::string_view token, std::string_view value,
                  size_t capacity) {
    if (token.empty())
        return true;
    std::string result;
    size_t from = 0;
    for (;;) {
        size_t found = std::string::npos;
        for (size_t at = from; at + token.size() <= text.size(); ++at) {
            if (lexical::startsWithIgnoringAsciiCase(std::string_view(text).substr(at), token)) {
                found = at;
                break;
            }
        }
        if (found == std::string::npos)
            break;
        result.append(text, from, found - from);
        result.append(value);
        from = found + token.size();
        if (result.size() > capacity)
            return false;
    }
    result.append(text, from, std::string::npos);
    if (result.size() > capacity)
        return false;
    text = std::move(result);
    return true;
}

lexical::Parsed<TextInsertion> parseAddText(lexical::FieldCursor& cursor,
                                            const SearchTokens& tokens) {
    lexical::Parsed<TextInsertion> parsed;
    parsed.error = !readFields(cursor, tokens, parsed.item);
    return parsed;
}

} // namespace kestrel::sysedit
