// A small streaming JSON writer for kst's machine-readable output: objects, arrays, strings,
// numbers, booleans and null, indented two blanks per level. Script text is code page 1252;
// strings are written as UTF-8 with the characters JSON requires escaped.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace kst {

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void beginObject();
    void endObject();
    // An array whose values stand on one line (short lists of numbers).
    void beginArray(bool oneLine = false);
    void endArray();
    // The name of the next value inside an object.
    void key(std::string_view name);

    void string(std::string_view ansiText);
    void number(int64_t value);
    void number(double value);
    void boolean(bool value);
    void null();

    // key and value in one call.
    void field(std::string_view name, std::string_view ansiText) {
        key(name);
        string(ansiText);
    }
    void field(std::string_view name, const char* ansiText) {
        field(name, std::string_view(ansiText));
    }
    void field(std::string_view name, int64_t value) {
        key(name);
        number(value);
    }
    void field(std::string_view name, int32_t value) { field(name, int64_t{value}); }
    void field(std::string_view name, uint32_t value) { field(name, int64_t{value}); }
    void field(std::string_view name, bool value) {
        key(name);
        boolean(value);
    }

    // Ends the document with a line feed.
    void finish();

  private:
    void beforeValue();
    void writeEscaped(std::string_view ansiText);
    void newline();

    struct Level {
        bool oneLine = false;
        bool empty = true;
    };

    std::ostream& out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace kst
