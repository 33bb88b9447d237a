// Serves a fixed list of lines as the script reader would in the main pass (each line 1, then
// end of data), and records the plain-read switches it was given.
#pragma once

#include "lexical/line_source.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

class LineListSource : public lexical::LineSource {
  public:
    explicit LineListSource(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    int readScriptLine(std::string& line) override {
        if (next_ >= lines_.size())
            return lexical::kLineEnd;
        line = lines_[next_++];
        return 1;
    }
    void setPlainRead(bool on) override {
        plainRead = on;
        plainReadSwitches.push_back(on);
    }

    size_t linesServed() const { return next_; }

    bool plainRead = false;
    std::vector<bool> plainReadSwitches;

  private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

} // namespace kestrel::test
