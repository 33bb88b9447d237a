// Serves lines from a list with the results a block parser can meet: delivered lines (1 in the
// main pass, their own numbers in the deferred pass), lines to pass over, and a reader error.
#pragma once

#include "lexical/line_source.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrel::test {

class VectorLineSource : public lexical::LineSource {
  public:
    struct Entry {
        int result; // > 0 delivers the line; kLineIgnore or kLineError as they are
        std::string line;
    };

    // Every line delivered as the main pass does it (result 1), then end of data.
    explicit VectorLineSource(const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            entries_.push_back({1, line});
    }
    static VectorLineSource withResults(std::vector<Entry> entries) {
        VectorLineSource source({});
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
    void setPlainRead(bool on) override { plainRead = on; }

    size_t linesServed() const { return next_; }

    bool plainRead = false;

  private:
    std::vector<Entry> entries_;
    size_t next_ = 0;
};

} // namespace kestrel::test
