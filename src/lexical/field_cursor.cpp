#include "lexical/field_cursor.h"

#include "lexical/ansi_text.h"
#include "lexical/numbers.h"

namespace kestrel::lexical {

bool isStandardSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',';
}

bool isConditionSeparator(char c) {
    return isStandardSeparator(c) || c == '(' || c == ')';
}

namespace {

struct FieldMacro {
    Macro macro;
    bool onlyWhenSet; // an empty value leaves the macro for the later expansion of the item
};

// The macros replaced at the start of a field while it is read, in the order they are tried.
constexpr FieldMacro kFieldMacros[] = {
    {Macro::LocateDir, false}, {Macro::WinHelpDir, false}, {Macro::LocateDrive, false},
    {Macro::System, true},     {Macro::Sys2, true},        {Macro::Sys3, true},
    {Macro::SourceDir, true},
};

} // namespace

FieldCursor::FieldCursor(std::string_view text, const MacroVariables* macros) : macros_(macros) {
    setText(text);
}

void FieldCursor::setText(std::string_view text) {
    text_.assign(text.substr(0, kCapacity));
    position_ = 0;
    unterminatedQuote_ = false;
}

void FieldCursor::skip(Separators set) {
    const auto isSeparator =
        set == Separators::Standard ? isStandardSeparator : isConditionSeparator;
    while (position_ < text_.size() && isSeparator(text_[position_]))
        ++position_;
}

void FieldCursor::skipSeparators() {
    skip(Separators::Standard);
}

void FieldCursor::skipConditionSeparators() {
    skip(Separators::Condition);
}

void FieldCursor::expandFieldMacro() {
    if (!macros_)
        return;
    const std::string_view here = rest();
    for (const FieldMacro& candidate : kFieldMacros) {
        const std::string_view name = macroName(candidate.macro);
        if (!startsWithIgnoringAsciiCase(here, name))
            continue;
        const std::string& value = macros_->value(candidate.macro);
        if (candidate.onlyWhenSet && value.empty())
            return;
        text_.replace(position_, name.size(), value);
        if (text_.size() > kCapacity)
            text_.resize(kCapacity);
        return;
    }
}

std::string FieldCursor::readKeyword() {
    skipSeparators();
    if (atEnd() || !isAnsiLetter(text_[position_]))
        return {};
    const size_t start = position_;
    while (position_ < text_.size() && isAnsiLetterOrDigit(text_[position_]))
        ++position_;
    std::string keyword = text_.substr(start, position_ - start);
    while (position_ < text_.size() &&
           (isStandardSeparator(text_[position_]) || text_[position_] == ':'))
        ++position_;
    return keyword;
}

std::string FieldCursor::readWordUntil(Separators set) {
    const auto isSeparator =
        set == Separators::Standard ? isStandardSeparator : isConditionSeparator;
    skip(set);
    expandFieldMacro();
    const size_t start = position_;
    while (position_ < text_.size() && !isSeparator(text_[position_]) && text_[position_] != '=')
        ++position_;
    std::string word = text_.substr(start, position_ - start);
    skip(set);
    return word;
}

std::string FieldCursor::readWord() {
    return readWordUntil(Separators::Standard);
}

std::string FieldCursor::readConditionWord() {
    return readWordUntil(Separators::Condition);
}

std::string FieldCursor::readQuoted() {
    skipSeparators();
    if (atEnd() || text_[position_] != '"')
        return {};
    ++position_;
    expandFieldMacro();
    std::string field;
    while (position_ < text_.size()) {
        const char c = text_[position_];
        if (c == '"') {
            if (position_ + 1 < text_.size() && text_[position_ + 1] == '"') {
                field += '"';
                position_ += 2;
                continue;
            }
            ++position_;
            skipSeparators();
            return field;
        }
        field += c;
        ++position_;
    }
    unterminatedQuote_ = true;
    return {}; // no closing quote: the position stays at the end
}

int32_t FieldCursor::quotedLength() {
    skipSeparators();
    if (atEnd() || text_[position_] != '"')
        return -1;
    return static_cast<int32_t>(readQuoted().size());
}

std::string FieldCursor::readParenthesized() {
    skipSeparators();
    if (atEnd() || text_[position_] != '(')
        return {};
    const size_t close = text_.find(')', position_ + 1);
    if (close == std::string::npos) {
        position_ = text_.size();
        return {};
    }
    std::string field = text_.substr(position_ + 1, close - position_ - 1);
    position_ = close + 1;
    skipSeparators();
    return field;
}

bool FieldCursor::takeEquals() {
    if (atEnd() || text_[position_] != '=')
        return false;
    ++position_;
    return true;
}

std::string FieldCursor::readDigits() {
    const size_t start = position_;
    while (position_ < text_.size() && isDecimalDigit(text_[position_]))
        ++position_;
    return text_.substr(start, position_ - start);
}

int32_t FieldCursor::readNumber() {
    return leadingSignedNumber(readWord().substr(0, kNumberWordCapacity));
}

ComparisonOperator FieldCursor::readOperator() {
    skipSeparators();
    if (atEnd())
        return ComparisonOperator::Error;
    const char first = text_[position_];
    const char second = position_ + 1 < text_.size() ? text_[position_ + 1] : '\0';
    if (second == '=' || second == '>') {
        position_ += 2;
        if (first == '=' && second == '=')
            return ComparisonOperator::Equal;
        if (first == '>' && second == '=')
            return ComparisonOperator::GreaterOrEqual;
        if (first == '<' && second == '=')
            return ComparisonOperator::LessOrEqual;
        if (first == '<' && second == '>')
            return ComparisonOperator::NotEqual;
        return ComparisonOperator::Error; // "=>", "!=", ">>" and the like
    }
    ++position_;
    switch (first) {
    case '=':
        return ComparisonOperator::Equal;
    case '>':
        return ComparisonOperator::Greater;
    case '<':
        return ComparisonOperator::Less;
    default:
        return ComparisonOperator::Error;
    }
}

} // namespace kestrel::lexical
