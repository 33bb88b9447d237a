// Writes a standard Windows in-memory dialog template (the DLGTEMPLATE form, not the extended
// one), which the dialog functions of the system create a dialog from. Layout, all values
// little-endian:
//
//   header   style (32), extended style (32), item count (16), x, y, cx, cy (16 each, signed,
//            dialog units); menu, class and title, each a 16-bit string or 0 for none/default/
//            empty; with DS_SETFONT in the style, the point size (16) and the face (string)
//   item     starts on a 4-byte boundary of the template: style (32), extended style (32),
//            x, y, cx, cy (16 each), id (16); class as 0xFFFF and a predefined class atom;
//            text (string); size of creation data (16), always 0 here
//
// A string is 16-bit characters ending in a 0 character. Texts come in as code page 1252 and
// are converted with its table. A text is cut at a 0 byte inside it, which would otherwise end
// the string early and turn the rest into garbage fields.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrel::ui {

inline constexpr uint32_t kDsSetFont = 0x40;

// Position and size of a dialog or control, in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// The predefined window classes a control may name by atom.
enum class ControlClass : uint16_t { Button = 0x0080, Static = 0x0082 };

class DialogTemplateWriter {
  public:
    // The header, with no menu, the default dialog class and an empty title. The point size
    // and face are written when style holds DS_SETFONT.
    DialogTemplateWriter(uint32_t style, DialogRect rect, uint16_t pointSize,
                         std::string_view face);

    void addItem(uint32_t style, DialogRect rect, uint16_t id, ControlClass controlClass,
                 std::string_view text);
    int itemCount() const { return itemCount_; }

    // The finished template, its item count filled in.
    std::vector<uint8_t> finish();

  private:
    void put16(uint16_t value);
    void put32(uint32_t value);
    void putRect(DialogRect rect);
    void putText(std::string_view ansi);
    void alignTo4();

    std::vector<uint8_t> bytes_;
    int itemCount_ = 0;
};

} // namespace kestrel::ui
