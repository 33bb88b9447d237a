// Progress for unpacking without a window: nothing is shown, the user never cancels and bytes
// are not counted.
#pragma once

#include "files/copy_services.h"

namespace kestrel::files {

class SilentProgress : public InstallProgress {
  public:
    bool pumpMessages() override { return false; }
    void showCurrentFile(const std::string&) override {}
    void advance() override {}
    bool countsBytes() const override { return false; }
    int64_t bytesDone() const override { return 0; }
    void addBytesDone(uint64_t) override {}
};

} // namespace kestrel::files
