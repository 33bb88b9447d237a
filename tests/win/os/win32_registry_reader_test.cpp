// Class registrations written by the test, read back as the ocxfilever test reads them.
#include "os/native_machine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>

namespace kestrel::os {
namespace {

// A key of its own under the user's and the machine's classes, removed afterwards.
class ClassesKey {
  public:
    ClassesKey() : name_("KestrelTest." + std::to_string(std::random_device{}())) {}
    ~ClassesKey() {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + name_).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\" + name_).c_str());
    }
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;

    const std::string& name() const { return name_; }

    // A default value of type under root\Software\Classes\name\sub, of exactly these bytes.
    void set(HKEY root, const std::string& sub, DWORD type, const std::string& bytes) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, ("Software\\Classes\\" + name_ + "\\" + sub).c_str(), 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }

  private:
    std::string name_;
};

std::string withZero(const std::string& text) {
    return text + '\0';
}

TEST(Win32RegistryReader, DefaultTextOfUserAndMachineClasses) {
    ClassesKey key;
    key.set(HKEY_CURRENT_USER, "user", REG_SZ, withZero("C:\\user.ocx"));
    key.set(HKEY_LOCAL_MACHINE, "machine", REG_SZ, withZero("C:\\machine.ocx"));
    key.set(HKEY_CURRENT_USER, "both", REG_SZ, withZero("user's"));
    key.set(HKEY_LOCAL_MACHINE, "both", REG_SZ, withZero("machine's"));
    key.set(HKEY_CURRENT_USER, "unterminated", REG_SZ, "C:\\bare.ocx");
    key.set(HKEY_CURRENT_USER, "expand", REG_EXPAND_SZ, withZero("%WINDIR%\\x.ocx"));
    key.set(HKEY_CURRENT_USER, "number", REG_DWORD, std::string(4, '\1'));
    key.set(HKEY_CURRENT_USER, "longest", REG_SZ, withZero(std::string(999, 'a')));
    key.set(HKEY_CURRENT_USER, "too long", REG_SZ, withZero(std::string(1000, 'a')));
    HKEY empty = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Classes\\" + key.name() + "\\empty").c_str(), 0,
                    nullptr, 0, KEY_READ, nullptr, &empty, nullptr);
    RegCloseKey(empty);
    char windows[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("WINDIR", windows, MAX_PATH), 0u);

    auto registry = makeNativeRegistryReader();
    const auto read = [&](const std::string& sub) {
        return registry->classesRootDefaultValue(key.name() + "\\" + sub);
    };
    EXPECT_EQ(read("user"), "C:\\user.ocx");
    EXPECT_EQ(read("machine"), "C:\\machine.ocx");
    EXPECT_EQ(read("both"), "user's");
    EXPECT_EQ(read("unterminated"), "C:\\bare.ocx");
    EXPECT_EQ(read("expand"), std::string(windows) + "\\x.ocx");
    EXPECT_EQ(read("number"), std::nullopt);
    EXPECT_EQ(read("longest"), std::string(999, 'a'));
    EXPECT_EQ(read("too long"), std::nullopt);
    EXPECT_EQ(read("empty"), std::nullopt);
    EXPECT_EQ(read("missing"), std::nullopt);
}

} // namespace
} // namespace kestrel::os
