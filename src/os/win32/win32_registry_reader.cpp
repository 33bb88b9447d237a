// Class registrations, as the ocxfilever test looks a control's server up.
#include "os/native_machine.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

#include <vector>

namespace kestrel::os {
namespace {

// Longer values cannot be a path the test could use; refused rather than cut.
constexpr size_t kMaxValueBytes = 999;

std::optional<std::string> expandEnvironment(const std::string& text) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::vector<char> expanded(needed + 1);
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed + 1);
    if (written == 0 || written > needed + 1)
        return std::nullopt;
    return std::string(expanded.data());
}

std::optional<std::string> defaultText(HKEY root, const std::string& subkey) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    win32::RegistryKey key(opened);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    // One byte more than asked for: a stored value need not end in a zero.
    std::vector<char> bytes(size + 1, '\0');
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string text(bytes.data());
    if (type == REG_EXPAND_SZ) {
        // "%SystemRoot%\..." names a real file only once expanded.
        auto expanded = expandEnvironment(text);
        if (!expanded)
            return std::nullopt;
        text = std::move(*expanded);
    }
    if (text.size() > kMaxValueBytes)
        return std::nullopt;
    return text;
}

class Win32RegistryReader final : public RegistryReader {
  public:
    // HKEY_CLASSES_ROOT shows the user's own registrations over the machine's. Some systems
    // (Wine among them) show only the machine's, so the user's are looked at first here.
    std::optional<std::string> classesRootDefaultValue(const std::string& key) override {
        if (auto user = defaultText(HKEY_CURRENT_USER, "Software\\Classes\\" + key))
            return user;
        return defaultText(HKEY_CLASSES_ROOT, key);
    }
};

} // namespace

std::unique_ptr<RegistryReader> makeNativeRegistryReader() {
    return std::make_unique<Win32RegistryReader>();
}

} // namespace kestrel::os
