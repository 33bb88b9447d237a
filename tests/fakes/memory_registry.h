// A registry in memory: keys by root and path (compared exactly), values by name (ignoring
// ASCII case, as the registry does). Writes to a path in `readOnlyKeys` fail.
#pragma once

#include "lexical/ansi_text.h"
#include "os/registry.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace kestrel::test {

class MemoryRegistry : public os::Registry {
  public:
    using KeyId = std::pair<os::RegistryRootKey, std::string>;
    // Values by upper-case name; each keeps the name as written.
    struct Key {
        std::map<std::string, std::pair<std::string, os::RegistryData>> values;
    };

    std::map<KeyId, Key> keys;
    std::set<std::string> readOnlyKeys;
    std::set<std::string> uncreatableKeys;

    void addKey(os::RegistryRootKey root, const std::string& path) { keys[{root, path}]; }
    void setValue(os::RegistryRootKey root, const std::string& path, const std::string& name,
                  os::RegistryData data) {
        keys[{root, path}].values[lexical::asciiUpper(name)] = {name, std::move(data)};
    }
    const os::RegistryData* value(os::RegistryRootKey root, const std::string& path,
                                  const std::string& name) const {
        auto key = keys.find({root, path});
        if (key == keys.end())
            return nullptr;
        auto found = key->second.values.find(lexical::asciiUpper(name));
        return found == key->second.values.end() ? nullptr : &found->second.second;
    }

    std::optional<os::OpenedKey> createKey(os::RegistryRootKey root,
                                           const std::string& path) override {
        const size_t cut = path.rfind('\\');
        if (uncreatableKeys.count(path) ||
            (cut != std::string::npos && !keys.count({root, path.substr(0, cut)})))
            return std::nullopt;
        const bool created = keys.emplace(KeyId{root, path}, Key{}).second;
        return os::OpenedKey{std::make_unique<OpenKey>(*this, root, path), created};
    }
    std::unique_ptr<os::RegistryKey> openKey(os::RegistryRootKey root,
                                             const std::string& path) override {
        if (!keys.count({root, path}))
            return nullptr;
        return std::make_unique<OpenKey>(*this, root, path);
    }
    bool deleteKey(os::RegistryRootKey root, const std::string& path) override {
        for (const auto& [id, key] : keys)
            if (id.first == root && id.second.rfind(path + "\\", 0) == 0)
                return false; // has subkeys
        return keys.erase({root, path}) == 1;
    }

  private:
    class OpenKey : public os::RegistryKey {
      public:
        OpenKey(MemoryRegistry& registry, os::RegistryRootKey root, std::string path)
            : registry_(registry), id_{root, std::move(path)} {}
        std::optional<os::RegistryData> queryValue(const std::string& name) override {
            const os::RegistryData* found = registry_.value(id_.first, id_.second, name);
            return found ? std::optional(*found) : std::nullopt;
        }
        bool setValue(const std::string& name, const os::RegistryData& data) override {
            if (registry_.readOnlyKeys.count(id_.second))
                return false;
            auto& values = registry_.keys[id_].values;
            auto found = values.find(lexical::asciiUpper(name));
            if (found != values.end())
                found->second.second = data; // keeps the name as first written
            else
                values[lexical::asciiUpper(name)] = {name, data};
            return true;
        }
        bool deleteValue(const std::string& name) override {
            return !registry_.readOnlyKeys.count(id_.second) &&
                   registry_.keys[id_].values.erase(lexical::asciiUpper(name)) == 1;
        }

      private:
        MemoryRegistry& registry_;
        KeyId id_;
    };
};

} // namespace kestrel::test
