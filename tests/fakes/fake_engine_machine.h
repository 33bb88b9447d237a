// The rest of the machine an installation reaches, in memory: Windows' folders and version,
// free space and volume labels, started programs, and recording fakes of self-registration,
// the Program Manager and the restart.
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
    std::string windowsDirectory() override { return "C:\\WINDOWS"; }
    std::string systemDirectory() override { return "C:\\WINDOWS\\SYSTEM"; }
    uint32_t versionValue() override { return 0x0A030004; } // Windows 4.0, DOS 3.10
    os::ProcessorFamily processorFamily() override { return processor; }
    std::optional<std::string> environmentVariable(const std::string&) override {
        return std::nullopt;
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

struct RecordingRegistration : os::ServerRegistration {
    using Outcome = os::ServerRegistrationResult::Outcome;
    std::map<std::string, Outcome> outcomes; // others: registered
    std::vector<std::string> asked;
    os::ServerRegistrationResult registerServer(const std::string& path) override {
        asked.push_back(path);
        auto found = outcomes.find(path);
        return {found == outcomes.end() ? Outcome::Registered : found->second, 0};
    }
};

struct RecordingProgramManager : os::ProgramManager {
    bool available = true; // whether the Program Manager answers at all
    int runs = 0;
    std::vector<std::string> commands;
    bool begin() override { return available && ++runs; }
    bool execute(const std::string& command) override {
        commands.push_back(command);
        return true;
    }
    void end() override {}
};

struct CountingRestart : os::Restart {
    bool accepts = true;
    int restarts = 0;
    bool restartMachine() override {
        ++restarts;
        return accepts;
    }
};

} // namespace kestrel::test
