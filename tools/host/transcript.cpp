#include "transcript.h"

#include <nlohmann/json.hpp>

namespace kestrel::host {

bool Transcript::open(const std::string& path) {
    if (path.empty()) {
        return true;
    }
    out_.open(path, std::ios::binary | std::ios::trunc);
    return bool(out_);
}

void Transcript::write(const TranscriptEntry& entry) {
    if (!out_.is_open()) {
        return;
    }
    nlohmann::ordered_json line;
    line["kind"] = entry.kind;
    line["caption"] = entry.caption;
    line["texts"] = entry.texts;
    if (entry.answer) {
        line["answer"] = *entry.answer;
    }
    if (entry.unmatched) {
        line["unmatched"] = true;
    }
    // Window texts are ANSI at heart; a byte that is not UTF-8 must not end the transcript.
    out_ << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    out_.flush();
}

} // namespace kestrel::host
