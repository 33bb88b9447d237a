// A script line and a read position, with the field readers that every command parser uses.
// The lexical rules of the whole language live here: what separates fields, how a keyword
// ends, how quoted text is written, and which path macros are replaced while a field is read.
//
// Separators are blank, tab, line feed, carriage return and comma; conditions add '(' and ')'.
// A comma is just a separator: "a","b" and "a" "b" and "a" , "b" read alike.
//
// The readers never fail: a missing field reads as empty and the command decides whether that
// is an error. They never move the position backwards.
#pragma once

#include "lexical/macros.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::lexical {

// Comparison operators of conditions, with their codes.
enum class ComparisonOperator : int32_t {
    Error = -1,
    Equal = 1,
    Greater = 2,
    Less = 3,
    GreaterOrEqual = 4,
    LessOrEqual = 5,
    NotEqual = 6,
    Range = 7, // never read: a condition sets it itself
};

// Blank, tab, line feed, carriage return and comma; conditions add '(' and ')'.
bool isStandardSeparator(char c);
bool isConditionSeparator(char c);

class FieldCursor {
  public:
    static constexpr size_t kCapacity = 998; // characters of a line
    static constexpr size_t kNumberWordCapacity = 79;

    // Without macro values (nullptr) no path macro is replaced while reading. The values must
    // outlive the cursor.
    explicit FieldCursor(const MacroVariables* macros = nullptr) : macros_(macros) {}
    explicit FieldCursor(std::string_view text, const MacroVariables* macros = nullptr);

    // New text (cut at 998 characters), position 0.
    void setText(std::string_view text);
    const std::string& text() const { return text_; }
    size_t position() const { return position_; }
    // The text from the position on.
    std::string_view rest() const { return std::string_view(text_).substr(position_); }
    void setMacros(const MacroVariables* macros) { macros_ = macros; }
    const MacroVariables* macros() const { return macros_; }

    bool atEnd() const { return position_ >= text_.size(); }
    void reset() { position_ = 0; }
    // Length of the whole text, wherever the position is.
    size_t lineLength() const { return text_.size(); }

    void skipSeparators();
    void skipConditionSeparators();

    // Letters and digits starting with a letter; then separators and colons are skipped, so the
    // position ends on the first argument. Empty (position kept) unless a letter comes first.
    std::string readKeyword();
    // Characters up to a separator, '=' or the end; separators after it are skipped.
    std::string readWord();
    // As readWord, with '(' and ')' also ending the word and skipped after it.
    std::string readConditionWord();
    // Text between double quotes, two quotes in a row giving one. Empty with the position on
    // the character when no quote comes first; empty with the position at the end when the
    // closing quote is missing.
    std::string readQuoted();
    // Whether a quoted field read since the text was set had no closing quote, so that the
    // rest of the line went with it.
    bool metUnterminatedQuote() const { return unterminatedQuote_; }
    // -1 when no quote comes first; otherwise readQuoted and the length of its field.
    int32_t quotedLength();
    // Text between '(' and ')'. Empty (position kept) without '('; empty with the position at
    // the end without ')'.
    std::string readParenthesized();
    // Steps over an '=' at the position itself (no separators skipped first).
    bool takeEquals();
    // The decimal digits at the position itself, nothing skipped before or after them.
    std::string readDigits();
    // Takes the rest of the line as read, for a caller that reads it in a way of its own.
    void skipToEnd() { position_ = text_.size(); }
    // readWord as a decimal integer: leading white space, optional sign, digits up to the first
    // non-digit; 0 without digits. The word is taken to 79 characters; the value is held
    // within the 32-bit range.
    int32_t readNumber();
    // A comparison operator: "==" or "=", ">", "<", ">=", "<=", "<>". Any other one- or
    // two-character sequence ("=>", "!=", "x") is Error.
    ComparisonOperator readOperator();

  private:
    enum class Separators { Standard, Condition };
    void skip(Separators set);
    std::string readWordUntil(Separators set);
    void expandFieldMacro();

    std::string text_;
    size_t position_ = 0;
    const MacroVariables* macros_ = nullptr;
    bool unterminatedQuote_ = false;
};

} // namespace kestrel::lexical
