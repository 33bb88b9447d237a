// The transcript: one JSON object per line for every window the user saw, in order.
#pragma once

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::host {

struct TranscriptEntry {
    std::string kind; // messagebox, dialog, progress, popup
    std::string caption;
    std::vector<std::string> texts;
    std::optional<std::string> answer; // only for windows that waited for the user
    bool unmatched = false;            // no rule gave the answer
};

class Transcript {
  public:
    // An empty path keeps nothing. False when the file cannot be created.
    bool open(const std::string& path);
    void write(const TranscriptEntry& entry);

  private:
    std::ofstream out_;
};

} // namespace kestrel::host
