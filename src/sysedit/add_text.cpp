#include "sysedit/add_text.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/quoted_field.h"

#include <optional>

namespace kestrel::sysedit {

namespace {

bool readFields(lexical::FieldCursor& cursor, const SearchTokens& tokens, TextInsertion& entry,
                lexical::ParseStatus& status) {
    entry.text = lexical::readExpectedQuoted(cursor, status, "text");
    if (entry.text.size() > TextInsertion::kTextCapacity ||
        !replaceToken(entry.text, "$LEFT$", tokens.left, TextInsertion::kTextCapacity) ||
        !replaceToken(entry.text, "$RIGHT$", tokens.right, TextInsertion::kTextCapacity))
        return false;
    if (cursor.atEnd())
        return false; // a text without a file

    entry.file = lexical::readTextOrWord(cursor);
    if (entry.file.empty())
        status.warn("ADDTEXT with an empty file name");
    if (entry.file.size() > TextInsertion::kFileCapacity)
        return false;

    entry.where = cursor.readQuoted();
    if (entry.where.size() > TextInsertion::kWhereCapacity ||
        !replaceToken(entry.where, "$SEARCH$", tokens.lineNumber, TextInsertion::kWhereCapacity))
        return false;

    bool passedOver = false;
    while (!cursor.atEnd()) {
        const size_t before = cursor.position();
        std::string word = cursor.readWord();
        // A word stops before '=', so a lone '=' would be met again and again: it is passed over
        // like any other word.
        if (word.empty() && cursor.takeEquals())
            word = "=";
        else if (cursor.position() == before)
            break;
        if (lexical::equalsIgnoringAsciiCase(word, "REPLACE")) {
            entry.replace = true;
        } else if (!passedOver) {
            status.warn("ADDTEXT word \"" + word + "\" is passed over: only REPLACE counts here");
            passedOver = true;
        }
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
    parsed.error = !readFields(cursor, tokens, parsed.item, parsed);
    return parsed;
}

} // namespace kestrel::sysedit
