#include "script/text_lines.h"

namespace kestrel::script {

namespace {
constexpr int kEnd = -1;
constexpr char kCtrlZ = 0x1A;
} // namespace

int TextLineReader::peekByte() {
    if (ended_)
        return kEnd;
    if (index_ == size_) {
        const int32_t got = file_.read(buffer_.data(), static_cast<uint32_t>(buffer_.size()));
        if (got <= 0) {
            ended_ = true; // a read error ends the text like its end
            return kEnd;
        }
        size_ = static_cast<size_t>(got);
        index_ = 0;
    }
    if (buffer_[index_] == kCtrlZ) {
        ended_ = true;
        return kEnd;
    }
    return static_cast<unsigned char>(buffer_[index_]);
}

int TextLineReader::nextByte() {
    const int c = peekByte();
    if (c == kEnd)
        return kEnd;
    ++index_;
    if (c == '\r' && peekByte() == '\n') {
        ++index_;
        return '\n';
    }
    return c;
}

bool TextLineReader::next(std::string& line) {
    line.clear();
    while (line.size() < kPieceCapacity) {
        const int c = nextByte();
        if (c == kEnd)
            break;
        line += static_cast<char>(c);
        if (c == '\n')
            break;
    }
    return !line.empty();
}

} // namespace kestrel::script
