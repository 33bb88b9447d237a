// Writing the registry: keys opened or created one level at a time, values read whole and
// written with their type. Value names compare without regard to case; the empty name is the
// key's default value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrel::os {

enum class RegistryRootKey {
    ClassesRoot,
    Users,
    LocalMachine,
    CurrentUser,
    CurrentConfig,
    DynData,
};

// A value as stored: the registry's type number and its bytes.
struct RegistryData {
    uint32_t type = 0;
    std::string bytes;
    friend bool operator==(const RegistryData&, const RegistryData&) = default;
};

// An open key; closed when destroyed.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    // The whole value; nothing when it does not exist or cannot be read.
    virtual std::optional<RegistryData> queryValue(const std::string& name) = 0;
    // Writes the value in place, replacing any value of that name.
    virtual bool setValue(const std::string& name, const RegistryData& data) = 0;
    virtual bool deleteValue(const std::string& name) = 0;
};

struct OpenedKey {
    std::unique_ptr<RegistryKey> key;
    bool created = false; // the key did not exist before
};

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens path below root with read and write access, creating it when missing; path's
    // parent must exist. Nothing when it can be neither opened nor created.
    virtual std::optional<OpenedKey> createKey(RegistryRootKey root, const std::string& path) = 0;
    // Opens an existing key with read and write access.
    virtual std::unique_ptr<RegistryKey> openKey(RegistryRootKey root, const std::string& path) = 0;
    // Deletes a key that has no subkeys; a key that has some is left whole (false).
    virtual bool deleteKey(RegistryRootKey root, const std::string& path) = 0;
};

std::unique_ptr<Registry> makeNativeRegistry();

} // namespace kestrel::os
