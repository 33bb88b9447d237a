// The registry on the Windows API. Keys are opened with full access and closed by their owner.
#include "os/registry.h"

#include <windows.h>

namespace kestrel::os {
namespace {

HKEY predefinedKey(RegistryRootKey root) {
    switch (root) {
    case RegistryRootKey::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRootKey::Users:
        return HKEY_USERS;
    case RegistryRootKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRootKey::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRootKey::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRootKey::DynData:
        break;
    }
    return HKEY_DYN_DATA;
}

class Win32RegistryKey final : public RegistryKey {
  public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;
    ~Win32RegistryKey() override { RegCloseKey(key_); }

    std::optional<RegistryData> queryValue(const std::string& name) override {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        // The value may grow between the two calls: ask again with the size then given.
        for (;;) {
            std::string bytes(size, '\0');
            LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(bytes.data()), &size);
            if (result == ERROR_SUCCESS) {
                bytes.resize(size);
                return RegistryData{type, std::move(bytes)};
            }
            if (result != ERROR_MORE_DATA)
                return std::nullopt;
        }
    }

    bool setValue(const std::string& name, const RegistryData& data) override {
        return RegSetValueExA(key_, name.c_str(), 0, data.type,
                              reinterpret_cast<const BYTE*>(data.bytes.data()),
                              static_cast<DWORD>(data.bytes.size())) == ERROR_SUCCESS;
    }

    bool deleteValue(const std::string& name) override {
        return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
    }

  private:
    HKEY key_;
};

class Win32Registry final : public Registry {
  public:
    std::optional<OpenedKey> createKey(RegistryRootKey root, const std::string& path) override {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExA(predefinedKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
            return std::nullopt;
        return OpenedKey{std::make_unique<Win32RegistryKey>(key),
                         disposition == REG_CREATED_NEW_KEY};
    }

    std::unique_ptr<RegistryKey> openKey(RegistryRootKey root, const std::string& path) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(predefinedKey(root), path.c_str(), 0, KEY_ALL_ACCESS, &key) !=
            ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32RegistryKey>(key);
    }

    bool deleteKey(RegistryRootKey root, const std::string& path) override {
        // Some systems delete a whole tree here; a key with subkeys is refused before that.
        HKEY key = nullptr;
        if (RegOpenKeyExA(predefinedKey(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        DWORD subkeys = 0;
        const LONG info = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        if (info != ERROR_SUCCESS || subkeys != 0)
            return false;
        return RegDeleteKeyA(predefinedKey(root), path.c_str()) == ERROR_SUCCESS;
    }
};

} // namespace

std::unique_ptr<Registry> makeNativeRegistry() {
    return std::make_unique<Win32Registry>();
}

} // namespace kestrel::os
