#include "ui/text_store.h"

#include <algorithm>
#include <utility>

namespace kestrel::ui {

int ScreenBlock::textLineCount() const {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); }));
}

bool TextStore::put(const ScreenBlock& block) {
    if (block.lines.size() > ScreenBlock::kMaxLines || block.width < 0 ||
        block.width > ScreenBlock::kMaxWidth)
        return false;
    for (const std::string& line : block.lines) {
        if (line.size() > ScreenBlock::kMaxLineLength)
            return false;
    }
    bytes_.resize(position_);
    bytes_.push_back(static_cast<uint8_t>(block.textLineCount()));
    bytes_.push_back(static_cast<uint8_t>(block.width));
    bytes_.push_back(static_cast<uint8_t>(block.lines.size()));
    for (const std::string& line : block.lines) {
        bytes_.push_back(static_cast<uint8_t>(line.size()));
        bytes_.insert(bytes_.end(), line.begin(), line.end());
        bytes_.push_back(0);
    }
    return true;
}

bool TextStore::take(ScreenBlock& block) {
    size_t at = position_;
    if (bytes_.size() - at < 3)
        return false;
    const int textLines = bytes_[at];
    const int width = bytes_[at + 1];
    const size_t lineCount = bytes_[at + 2];
    at += 3;
    ScreenBlock read;
    read.width = width;
    for (size_t i = 0; i < lineCount; ++i) {
        if (bytes_.size() - at < 2)
            return false;
        const size_t length = bytes_[at];
        if (bytes_.size() - at < length + 2)
            return false;
        read.lines.emplace_back(reinterpret_cast<const char*>(&bytes_[at + 1]), length);
        at += length + 2;
    }
    if (read.textLineCount() != textLines)
        return false;
    block = std::move(read);
    position_ = at;
    return true;
}

} // namespace kestrel::ui
