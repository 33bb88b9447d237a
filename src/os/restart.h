// Restarting the machine at the end of an installation that asked for it.
#pragma once

#include <memory>

namespace kestrel::os {

class Restart {
  public:
    virtual ~Restart() = default;
    // Asks the system to restart the machine. False when it refused; on true the system is
    // already shutting down (every program, this one too, is about to end).
    virtual bool restartMachine() = 0;
};

std::unique_ptr<Restart> makeNativeRestart();

} // namespace kestrel::os
