// The shell's Program Manager, reached by DDE (service and topic PROGMAN): it takes command
// texts such as "[CreateGroup(Tools)]" and makes groups and items from them.
#pragma once

#include <memory>
#include <string>

namespace kestrel::os {

class ProgramManager {
  public:
    virtual ~ProgramManager() = default;
    // Starts a run of commands; false when DDE cannot be used at all.
    virtual bool begin() = 0;
    // Sends one command in a conversation of its own and waits for the answer (10 seconds at
    // most); false when no Program Manager answered or it refused the command.
    virtual bool execute(const std::string& command) = 0;
    // Ends the run; begin may start another.
    virtual void end() = 0;
};

std::unique_ptr<ProgramManager> makeNativeProgramManager();

} // namespace kestrel::os
