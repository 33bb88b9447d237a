// Serves a list of lines as the script reader would: each line as the main pass delivers it
// (1), then the end of the data; or given results, as a block parser can meet them (a deferred
// line's own number, a line to pass over, a reader error). Records the plain-read switches.
#pragma once

#include "lexical/line_source.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

class LineListSource : public lexical::LineSource {
  public:
    struct Entry {
        int result; // > 0 delivers the line; kLineIgnore or kLineError as they are
        std::string line;
    };

    explicit LineListSource(const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            entries_.push_back({1, line});
    }
    static LineListSource withResults(std::vector<Entry> entries) {
        LineListSource source({});
        source.entries_ = std::move(entries);
        return source;
    }

    int readScriptLine(std::string& line) override {
        if (next_ >= entries_.size())
            return lexical::kLineEnd;
        const Entry& entry = entries_[next_++];
        line = entry.result == lexical::kLineIgnore ? std::string() : entry.line;
        return entry.result;
    }
    void setPlainRead(bool on) override {
        plainRead = on;
        plainReadSwitches.push_back(on);
    }

    size_t linesServed() const { return next_; }

    bool plainRead = false;
    std::vector<bool> plainReadSwitches;

  private:
    std::vector<Entry> entries_;
    size_t next_ = 0;
};

} // namespace kestrel::test
