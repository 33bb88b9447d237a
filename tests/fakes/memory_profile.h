// INI files in memory: file -> section -> key -> value; sections and keys compared as
// written (tests use one spelling). Files in `unwritable` refuse every write.
#pragma once

#include "os/profile.h"

#include <map>
#include <set>
#include <string>

namespace kestrel::test {

struct MemoryProfile : os::Profile {
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> files;
    std::set<std::string> unwritable;

    std::optional<std::string> readValue(const std::string& file, const std::string& section,
                                         const std::string& key) override {
        auto f = files.find(file);
        if (f == files.end() || !f->second.count(section) || !f->second[section].count(key))
            return std::nullopt;
        return f->second[section][key];
    }
    bool sectionExists(const std::string& file, const std::string& section) override {
        auto f = files.find(file);
        return f != files.end() && f->second.count(section);
    }
    bool writeValue(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) override {
        if (unwritable.count(file))
            return false;
        files[file][section][key] = value;
        return true;
    }
    bool deleteKey(const std::string& file, const std::string& section,
                   const std::string& key) override {
        return !unwritable.count(file) && files[file][section].erase(key) == 1;
    }
    bool deleteSection(const std::string& file, const std::string& section) override {
        return !unwritable.count(file) && files[file].erase(section) == 1;
    }
};

} // namespace kestrel::test
