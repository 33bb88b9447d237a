#include "ui/dialog_template_writer.h"

#include "ui/ansi_to_utf16.h"

#include <algorithm>
#include <utility>

namespace kestrel::ui {

namespace {

constexpr size_t kItemCountOffset = 8; // after style and extended style

int16_t clampToShort(int value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

} // namespace

DialogTemplateWriter::DialogTemplateWriter(uint32_t style, DialogRect rect, uint16_t pointSize,
                                           std::string_view face) {
    put32(style);
    put32(0); // extended style
    put16(0); // item count, filled in by finish()
    putRect(rect);
    put16(0); // no menu
    put16(0); // the default dialog class
    put16(0); // empty title
    if (style & kDsSetFont) {
        put16(pointSize);
        putText(face);
    }
}

void DialogTemplateWriter::addItem(uint32_t style, DialogRect rect, uint16_t id,
                                   ControlClass controlClass, std::string_view text) {
    alignTo4();
    put32(style);
    put32(0); // extended style
    putRect(rect);
    put16(id);
    put16(0xFFFF); // the class is given by its atom
    put16(static_cast<uint16_t>(controlClass));
    putText(text);
    put16(0); // no creation data
    ++itemCount_;
}

std::vector<uint8_t> DialogTemplateWriter::finish() {
    const auto count = static_cast<uint16_t>(itemCount_);
    bytes_[kItemCountOffset] = static_cast<uint8_t>(count & 0xFF);
    bytes_[kItemCountOffset + 1] = static_cast<uint8_t>(count >> 8);
    return std::move(bytes_);
}

void DialogTemplateWriter::put16(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
}

void DialogTemplateWriter::put32(uint32_t value) {
    put16(static_cast<uint16_t>(value & 0xFFFF));
    put16(static_cast<uint16_t>(value >> 16));
}

void DialogTemplateWriter::putRect(DialogRect rect) {
    for (int value : {rect.x, rect.y, rect.cx, rect.cy})
        put16(static_cast<uint16_t>(clampToShort(value)));
}

void DialogTemplateWriter::putText(std::string_view ansi) {
    ansi = ansi.substr(0, ansi.find('\0'));
    for (char c : ansi)
        put16(ansiToUtf16(c));
    put16(0);
}

void DialogTemplateWriter::alignTo4() {
    while (bytes_.size() % 4 != 0)
        bytes_.push_back(0);
}

} // namespace kestrel::ui
