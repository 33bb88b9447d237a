// Where a phase that changes the machine records each change: the installation's install.log.
// The phases write a line only once its change is in place.
#pragma once

#include <string>

namespace kestrel::lexical {

class InstallLogSink {
  public:
    virtual ~InstallLogSink() = default;
    // line is one line of install_log_lines.h, without its line feed. True when it reached the
    // log (false also when logging is off).
    virtual bool writeLogLine(const std::string& line) = 0;
};

} // namespace kestrel::lexical
