// Reads an in-memory dialog template (the DLGTEMPLATE form) back into its fields, the way the
// system's dialog functions walk it, so that tests check what a dialog will really contain.
// Strict: every item must start on a 4-byte boundary with zero padding before it, and the
// bytes must end right after the last item.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

// A menu, class or text field: either a string or 0xFFFF and an ordinal (a class atom).
struct TemplateName {
    std::u16string text;
    std::optional<uint16_t> ordinal;
};

struct TemplateItem {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    TemplateName className;
    TemplateName text;
    uint16_t creationDataSize = 0;
};

struct TemplateDialog {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    uint16_t itemCount = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu;
    TemplateName className;
    TemplateName title;
    uint16_t pointSize = 0;
    std::u16string face;
    std::vector<TemplateItem> items;
};

class DialogTemplateReader {
  public:
    explicit DialogTemplateReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    // The dialog, or nothing with error() saying what was wrong.
    std::optional<TemplateDialog> read() {
        TemplateDialog dialog;
        if (!get32(dialog.style) || !get32(dialog.extendedStyle) || !get16(dialog.itemCount) ||
            !getRect(dialog.x, dialog.y, dialog.cx, dialog.cy) || !getName(dialog.menu) ||
            !getName(dialog.className) || !getName(dialog.title))
            return fail("header cut short");
        if (dialog.style & 0x40) {
            if (!get16(dialog.pointSize) || !getString(dialog.face))
                return fail("font cut short");
        }
        for (uint16_t i = 0; i < dialog.itemCount; ++i) {
            while (at_ % 4 != 0) {
                if (at_ >= bytes_.size() || bytes_[at_] != 0)
                    return fail("item " + std::to_string(i) + " not on a zero-padded boundary");
                ++at_;
            }
            TemplateItem item;
            if (!get32(item.style) || !get32(item.extendedStyle) ||
                !getRect(item.x, item.y, item.cx, item.cy) || !get16(item.id) ||
                !getName(item.className) || !getName(item.text) || !get16(item.creationDataSize))
                return fail("item " + std::to_string(i) + " cut short");
            at_ += item.creationDataSize;
            dialog.items.push_back(std::move(item));
        }
        if (at_ != bytes_.size())
            return fail(std::to_string(bytes_.size() - at_) + " bytes after the last item");
        return dialog;
    }

    const std::string& error() const { return error_; }

  private:
    std::nullopt_t fail(std::string why) {
        error_ = std::move(why) + " at offset " + std::to_string(at_);
        return std::nullopt;
    }
    bool get16(uint16_t& value) {
        if (at_ > bytes_.size() || bytes_.size() - at_ < 2)
            return false;
        value = static_cast<uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
        at_ += 2;
        return true;
    }
    bool get16(int16_t& value) {
        uint16_t raw;
        if (!get16(raw))
            return false;
        value = static_cast<int16_t>(raw);
        return true;
    }
    bool get32(uint32_t& value) {
        uint16_t low, high;
        if (!get16(low) || !get16(high))
            return false;
        value = low | (static_cast<uint32_t>(high) << 16);
        return true;
    }
    bool getRect(int16_t& x, int16_t& y, int16_t& cx, int16_t& cy) {
        return get16(x) && get16(y) && get16(cx) && get16(cy);
    }
    bool getString(std::u16string& text) {
        for (uint16_t c; get16(c);) {
            if (c == 0)
                return true;
            text.push_back(static_cast<char16_t>(c));
        }
        return false;
    }
    bool getName(TemplateName& name) {
        uint16_t first;
        if (!get16(first))
            return false;
        if (first == 0xFFFF) {
            uint16_t ordinal;
            if (!get16(ordinal))
                return false;
            name.ordinal = ordinal;
            return true;
        }
        if (first == 0)
            return true;
        name.text.push_back(static_cast<char16_t>(first));
        return getString(name.text);
    }

    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
    std::string error_;
};

} // namespace kestrel::test
