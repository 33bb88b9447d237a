// An install log that keeps its lines in memory.
#pragma once

#include "lexical/install_log_sink.h"

#include <string>
#include <vector>

namespace kestrel::test {

struct RecordingLog : lexical::InstallLogSink {
    std::vector<std::string> lines;
    bool writeLogLine(const std::string& line) override {
        lines.push_back(line);
        return true;
    }
};

} // namespace kestrel::test
