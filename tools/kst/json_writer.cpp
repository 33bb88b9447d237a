#include "json_writer.h"

#include "ui/ansi_to_utf16.h"

#include <cmath>
#include <cstdio>

namespace kst {

namespace {

void writeUtf8(std::ostream& out, char16_t c) {
    if (c < 0x80) {
        out.put(static_cast<char>(c));
    } else if (c < 0x800) {
        out.put(static_cast<char>(0xC0 | (c >> 6)));
        out.put(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.put(static_cast<char>(0xE0 | (c >> 12)));
        out.put(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.put(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

void JsonWriter::newline() {
    out_ << '\n' << std::string(levels_.size() * 2, ' ');
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!levels_.empty()) {
        Level& level = levels_.back();
        if (!level.empty)
            out_ << (level.oneLine ? ", " : ",");
        if (!level.oneLine)
            newline();
        level.empty = false;
    }
}

void JsonWriter::beginObject() {
    beforeValue();
    out_ << '{';
    levels_.push_back({});
}

void JsonWriter::endObject() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        newline();
    out_ << '}';
}

void JsonWriter::beginArray(bool oneLine) {
    beforeValue();
    out_ << '[';
    levels_.push_back({oneLine});
}

void JsonWriter::endArray() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty && !level.oneLine)
        newline();
    out_ << ']';
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    writeEscaped(name);
    out_ << ": ";
    afterKey_ = true;
}

void JsonWriter::string(std::string_view ansiText) {
    beforeValue();
    writeEscaped(ansiText);
}

void JsonWriter::writeEscaped(std::string_view ansiText) {
    out_ << '"';
    for (char16_t c : kestrel::ui::ansiToUtf16(ansiText)) {
        switch (c) {
        case '"':
            out_ << "\\\"";
            break;
        case '\\':
            out_ << "\\\\";
            break;
        case '\n':
            out_ << "\\n";
            break;
        case '\r':
            out_ << "\\r";
            break;
        case '\t':
            out_ << "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out_ << escaped;
            } else {
                writeUtf8(out_, c);
            }
        }
    }
    out_ << '"';
}

void JsonWriter::number(int64_t value) {
    beforeValue();
    out_ << value;
}

void JsonWriter::number(double value) {
    beforeValue();
    if (!std::isfinite(value)) {
        out_ << "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    out_ << text;
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    out_ << (value ? "true" : "false");
}

void JsonWriter::null() {
    beforeValue();
    out_ << "null";
}

void JsonWriter::finish() {
    out_ << '\n';
}

} // namespace kst
