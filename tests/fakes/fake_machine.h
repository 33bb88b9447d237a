// The machine as the condition tests see it, made up in memory: memory and display figures,
// drive types, a directory tree, registry values and file version strings.
#pragma once

#include "os/directory_search.h"
#include "os/drives.h"
#include "os/file_version.h"
#include "os/registry_reader.h"
#include "os/system_info.h"
#include "os/wildcard_match.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrel::test {

struct FakeSystemInfo : os::SystemInfo {
    uint64_t memory = 8u << 20;
    os::DisplayMode display{8, 1, 640, 480};
    uint64_t totalPhysicalMemory() override { return memory; }
    os::DisplayMode displayMode() override { return display; }
};

struct FakeDrives : os::Drives {
    std::map<char, os::DriveType> types; // letters in capitals; others are missing
    os::DriveType driveType(char letter) override {
        auto it = types.find(letter);
        return it == types.end() ? os::DriveType::Missing : it->second;
    }
};

// Paths in the form "C:\DIR\FILE" (roots "C:\"), compared exactly. A directory named LOOP
// holds another LOOP below it, without end, as a link back to itself would.
class FakeDirectoryTree : public os::DirectorySearch {
  public:
    void addFile(const std::string& path) {
        const size_t cut = path.rfind('\\');
        addDirectory(path.substr(0, cut == 2 ? 3 : cut));
        entries_[parentOf(path)].insert(nameOf(path));
    }
    void addDirectory(const std::string& path) {
        if (path.size() <= 3) { // a root
            children_[path];
            return;
        }
        const std::string parent = parentOf(path);
        addDirectory(parent);
        auto& list = children_[parent];
        if (std::find(list.begin(), list.end(), nameOf(path)) == list.end())
            list.push_back(nameOf(path));
        entries_[parent].insert(nameOf(path));
        children_[path];
    }

    bool directoryExists(const std::string& path) override {
        std::string p = path;
        if (p.size() > 3 && p.back() == '\\')
            p.pop_back();
        return children_.count(p) != 0 || isLoop(p);
    }
    bool anyEntryMatches(const std::string& pattern) override {
        auto it = entries_.find(parentOf(pattern));
        if (it == entries_.end())
            return false;
        const std::string wanted = nameOf(pattern);
        return std::any_of(it->second.begin(), it->second.end(), [&](const std::string& name) {
            return os::wildcardMatches(wanted, name);
        });
    }
    std::optional<std::vector<std::string>> subdirectories(const std::string& dir) override {
        listed.push_back(dir);
        if (isLoop(dir))
            return std::vector<std::string>{"LOOP"};
        auto it = children_.find(dir);
        if (it == children_.end())
            return std::nullopt;
        return it->second;
    }

    std::vector<std::string> listed; // every directory whose subdirectories were asked for

  private:
    static std::string parentOf(const std::string& path) {
        const size_t cut = path.rfind('\\');
        return path.substr(0, cut == 2 ? 3 : cut);
    }
    static std::string nameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
    static bool isLoop(const std::string& path) {
        return path.size() >= 5 && path.compare(path.size() - 5, 5, "\\LOOP") == 0;
    }
    std::map<std::string, std::vector<std::string>> children_;
    std::map<std::string, std::set<std::string>> entries_;
};

struct FakeRegistry : os::RegistryReader {
    std::map<std::string, std::string> classesRoot;
    std::optional<std::string> classesRootDefaultValue(const std::string& key) override {
        auto it = classesRoot.find(key);
        return it == classesRoot.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

struct FakeFileVersions : os::FileVersionReader {
    std::map<std::string, std::string> versions;
    std::optional<std::string> versionString(const std::string& path) override {
        auto it = versions.find(path);
        return it == versions.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

} // namespace kestrel::test
