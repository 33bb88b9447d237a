// Copy services that record what they are asked and answer from a script, for tests of the
// file-installing code.
#pragma once

#include "files/copy_services.h"

#include <string>
#include <vector>

namespace kestrel::test {

class RecordingProgress : public files::InstallProgress {
  public:
    bool byteMode = false;
    int64_t bytes = 0;
    int advances = 0;
    int pumps = 0;
    int cancelAtPump = -1; // the pump (counted from 1) from which on the user has cancelled

    bool pumpMessages() override {
        ++pumps;
        return cancelAtPump > 0 && pumps >= cancelAtPump;
    }
    void showCurrentFile(const std::string&) override {}
    void advance() override { ++advances; }
    bool countsBytes() const override { return byteMode; }
    int64_t bytesDone() const override { return bytes; }
    void addBytesDone(uint64_t count) override { bytes += int64_t(count); }
};

class ScriptedDisks : public files::NextDiskPrompt {
  public:
    std::vector<bool> requests; // firstRequest of every ask
    int giveUpAfter = -1;       // asks answered before the user gives up; -1: never

    bool askForNextDisk(bool firstRequest) override {
        requests.push_back(firstRequest);
        return giveUpAfter >= 0 && int(requests.size()) > giveUpAfter;
    }
};

class RecordingInstallRecord : public files::InstallRecord {
  public:
    std::vector<std::string> createdDirectories;
    std::vector<std::string> logLines;
    std::string continuationName;

    bool createDirectories(const std::string& directory) override {
        createdDirectories.push_back(directory);
        return true;
    }
    void writeLogLine(const std::string& line) override { logLines.push_back(line); }
    void setContinuationName(const std::string& name) override { continuationName = name; }
};

} // namespace kestrel::test
