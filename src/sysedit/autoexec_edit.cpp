#include "sysedit/autoexec_edit.h"

#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/numbers.h"
#include "lexical/quoted_field.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::sysedit {

namespace {

using lexical::equalsIgnoringAsciiCase;

// The value after option ("/F:" or "/L:") in an upper-case text; false when it overflows.
bool readShareValue(std::string_view text, std::string_view option, int32_t& value) {
    value = 0;
    const size_t found = text.find(option);
    if (found == std::string_view::npos)
        return true;
    size_t i = found + option.size();
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    const std::optional<int32_t> number = lexical::leadingDigits(text.substr(i));
    value = number.value_or(INT32_MAX);
    return number.has_value();
}

} // namespace

bool readShareValues(std::string& text, ShareValues& values) {
    text = lexical::asciiUpper(text);
    const bool files = readShareValue(text, "/F:", values.files);
    const bool locks = readShareValue(text, "/L:", values.locks);
    return files && locks;
}

lexical::ParseStatus parseAutoexec(AutoexecEdit& edit, lexical::FieldCursor& cursor) {
    return parseEditWords(edit.mode, edit.lineList, cursor,
                          [&](const std::string& word, lexical::ParseStatus& status) {
                              if (equalsIgnoringAsciiCase(word, "ADDPATH")) {
                                  if (!cursor.takeEquals())
                                      edit.addDestination = true;
                                  else
                                      edit.pathList.emplace_back(lexical::readExpectedQuoted(
                                          cursor, status, "ADDPATH directory"));
                                  return true;
                              }
                              if (equalsIgnoringAsciiCase(word, "SHARE")) {
                                  edit.shareWanted = true;
                                  if (!cursor.takeEquals())
                                      return true;
                                  std::string options =
                                      lexical::readExpectedQuoted(cursor, status, "SHARE options");
                                  ShareValues values;
                                  if (!readShareValues(options, values))
                                      return false;
                                  edit.shareFiles = values.files;
                                  edit.shareLocks = values.locks;
                                  return true;
                              }
                              return false;
                          });
}

} // namespace kestrel::sysedit
