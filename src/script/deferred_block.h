// An IF..ENDIF block whose condition waits for the user's answers: its lines are kept from the
// main pass and interpreted again in the deferred pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::script {

class DeferredBlock {
  public:
    static constexpr size_t kMaxLines = 60; // the IF line, 58 body lines and the ENDIF line
    static constexpr size_t kLineCapacity = 998;

    explicit DeferredBlock(int32_t firstLineNumber) : firstLineNumber_(firstLineNumber) {}

    // Adds a line (cut at 998 characters); false when the block is full.
    bool append(std::string_view line);

    size_t count() const { return lines_.size(); }
    bool full() const { return lines_.size() >= kMaxLines; }
    const std::string& line(size_t slot) const { return lines_[slot]; }
    // Script line number of the IF line; slot k is that number plus k.
    int32_t firstLineNumber() const { return firstLineNumber_; }

  private:
    std::vector<std::string> lines_;
    int32_t firstLineNumber_;
};

} // namespace kestrel::script
