// The rest of the machine an installation reaches, in memory: Windows' folders and version,
// free space and volume labels, started programs, self-registration, the Program Manager and
// the restart.
#pragma once

#include "os/processes.h"
#include "os/program_manager.h"
#include "os/restart.h"
#include "os/server_registration.h"
#include "os/system_details.h"
#include "os/volumes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::test {

struct FakeSystemDetails : os::SystemDetails {
    os::ProcessorFamily processor = os::ProcessorFamily::Pentium;
    std::map<std::string, std::string> environment;
    std::string windowsDirectory() override { return "C:\\WINDOWS"; }
    std::string systemDirectory() override { return "C:\\WINDOWS\\SYSTEM"; }
    uint32_t versionValue() override { return 0x0A030004; } // Windows 4.0, DOS 3.10
    os::ProcessorFamily processorFamily() override { return processor; }
    std::optional<std::string> environmentVariable(const std::string& name) override {
        auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional(found->second);
    }
};

struct FakeVolumes : os::Volumes {
    std::optional<uint64_t> free = uint64_t{5} << 30; // more than 32 bits hold
    std::map<char, std::string> labels;
    std::optional<uint64_t> freeBytes(const std::string&) override { return free; }
    std::optional<std::string> volumeLabel(char letter) override {
        auto found = labels.find(letter);
        return found == labels.end() ? std::nullopt : std::optional(found->second);
    }
};

struct RecordingProcesses : os::Processes {
    std::vector<std::string> waited;  // run and wait
    std::vector<std::string> started; // started and left running
    std::vector<std::string> shell;   // through the command interpreter
    std::optional<uint32_t> shellExit = 0;
    std::optional<uint32_t> runAndWait(const std::string& command) override {
        waited.push_back(command);
        return 0;
    }
    bool start(const std::string& command) override {
        started.push_back(command);
        return true;
    }
    std::optional<uint32_t> runInShellAndWait(const std::string& command) override {
        shell.push_back(command);
        return shellExit;
    }
};

struct NoServers : os::ServerRegistration {
    os::ServerRegistrationResult registerServer(const std::string&) override {
        return {os::ServerRegistrationResult::Outcome::Registered, 0};
    }
};

struct NoProgramManager : os::ProgramManager {
    bool begin() override { return false; }
    bool execute(const std::string&) override { return false; }
    void end() override {}
};

struct CountingRestart : os::Restart {
    int restarts = 0;
    bool restartMachine() override {
        ++restarts;
        return true;
    }
};

} // namespace kestrel::test
