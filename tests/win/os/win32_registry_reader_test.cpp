// Class registrations written by the test, read back as the ocxfilever test reads them.
#include "os/native_machine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>

namespace kestrel::os {
namespace {

TEST(Win32RegistryReader, DefaultTextOfUserAndMachineClasses) {
    const std::string name = "KestrelTest." + std::to_string(std::random_device{}());
    const auto set = [&](HKEY root, const std::string& sub, DWORD type, const std::string& text) {
        HKEY key = nullptr;
        RegCreateKeyExA(root, ("Software\\Classes\\" + name + "\\" + sub).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    };
    set(HKEY_CURRENT_USER, "user", REG_SZ, "C:\\user.ocx");
    set(HKEY_LOCAL_MACHINE, "machine", REG_SZ, "C:\\machine.ocx");
    set(HKEY_CURRENT_USER, "both", REG_SZ, "user's");
    set(HKEY_LOCAL_MACHINE, "both", REG_SZ, "machine's");
    set(HKEY_CURRENT_USER, "expand", REG_EXPAND_SZ, "%WINDIR%\\x.ocx");
    set(HKEY_CURRENT_USER, "number", REG_DWORD, "123");
    set(HKEY_CURRENT_USER, "too long", REG_SZ, std::string(1000, 'a'));
    char windows[MAX_PATH] = {};
    GetEnvironmentVariableA("WINDIR", windows, MAX_PATH);

    auto registry = makeNativeRegistryReader();
    const auto read = [&](const char* sub) {
        return registry->classesRootDefaultValue(name + "\\" + sub);
    };
    EXPECT_EQ(read("user"), "C:\\user.ocx");
    EXPECT_EQ(read("machine"), "C:\\machine.ocx");
    EXPECT_EQ(read("both"), "user's");
    EXPECT_EQ(read("expand"), std::string(windows) + "\\x.ocx");
    EXPECT_EQ(read("number"), std::nullopt);
    EXPECT_EQ(read("too long"), std::nullopt);
    EXPECT_EQ(read("missing"), std::nullopt);
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + name).c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + name).c_str());
}

} // namespace
} // namespace kestrel::os
