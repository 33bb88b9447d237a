// The registry interface and the registry blocks on the real registry, checked through the API
// (Wine's reg tool shows big-endian values wrongly).
#include "fakes/recording_log.h"
#include "files/registry_writer.h"
#include "os/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>

namespace kestrel::os {
namespace {

constexpr auto kUser = RegistryRootKey::CurrentUser;

// A fresh key below HKEY_CURRENT_USER\Software, removed with everything in it afterwards.
struct ScratchKey {
    std::string path = "Software\\KestrelTest" + std::to_string(std::random_device()());
    ~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }
    std::optional<RegistryData> query(const std::string& sub, const std::string& name) const {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (path + sub).c_str(), 0, KEY_READ, &key))
            return std::nullopt;
        char buffer[8192];
        DWORD size = sizeof buffer;
        DWORD type = 0;
        LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (result)
            return std::nullopt;
        return RegistryData{type, std::string(buffer, size)};
    }
};

TEST(Win32Registry, KeysLevelByLevelValuesWholeAndNoTreeDelete) {
    ScratchKey scratch;
    auto registry = makeNativeRegistry();
    std::optional<OpenedKey> top = registry->createKey(kUser, scratch.path);
    ASSERT_TRUE(top);
    EXPECT_TRUE(top->created);
    EXPECT_FALSE(registry->createKey(kUser, scratch.path)->created);
    EXPECT_FALSE(registry->createKey(kUser, scratch.path + "\\Missing\\Child"));
    std::optional<OpenedKey> child = registry->createKey(kUser, scratch.path + "\\Child");
    ASSERT_TRUE(child && child->created);

    const std::string big(5000, 'v'); // longer than any fixed buffer would take
    EXPECT_TRUE(top->key->setValue("Big", {REG_BINARY, big}));
    EXPECT_EQ(top->key->queryValue("big"), (RegistryData{REG_BINARY, big}));
    EXPECT_TRUE(top->key->setValue("", {REG_SZ, std::string("default\0", 8)}));
    EXPECT_EQ(scratch.query("", "")->bytes, std::string("default\0", 8));
    EXPECT_TRUE(top->key->deleteValue("BIG"));
    EXPECT_FALSE(top->key->queryValue("Big"));
    top.reset();

    EXPECT_FALSE(registry->deleteKey(kUser, scratch.path)); // it has a subkey
    EXPECT_TRUE(registry->openKey(kUser, scratch.path + "\\Child"));
    EXPECT_TRUE(registry->deleteKey(kUser, scratch.path + "\\Child"));
    EXPECT_FALSE(registry->openKey(kUser, scratch.path + "\\Child"));
}

TEST(Win32Registry, BlocksAreWrittenAndLoggedOnTheRealRegistry) {
    ScratchKey scratch;
    RegCreateKeyA(HKEY_CURRENT_USER, scratch.path.c_str(), nullptr);
    auto registry = makeNativeRegistry();
    lexical::MacroVariables macros;
    macros.setDefaultDir("C:\\APP");
    test::RecordingLog log;

    files::RegistryBlock block;
    block.root = files::RegistryRoot::CurrentUser;
    block.rootName = "HKEY_CURRENT_USER";
    block.keyOperation = files::RegistryKeyOperation::New;
    block.subkeyPath = scratch.path + "\\A\\B";
    auto value = [](files::RegistryValueType type, files::RegistryValueOperation operation,
                    std::string name, std::string data) {
        files::RegistryValue v;
        v.type = type;
        v.operation = operation;
        v.name = std::move(name);
        v.data = std::move(data);
        return v;
    };
    using T = files::RegistryValueType;
    using Op = files::RegistryValueOperation;
    block.values = {value(T::DwordBigEndian, Op::New, "Big", "0x01020304"),
                    value(T::MultiString, Op::New, "Multi", "$DEFAULTDIR$"),
                    value(T::Dword, Op::Increment, "Count", "41"),
                    value(T::Dword, Op::Increment, "Count", "1")};
    std::vector<files::RegistryBlock> blocks{block};
    files::runRegistryPhase(blocks, *registry, macros, log);

    EXPECT_EQ(scratch.query("\\A\\B", "Big"), (RegistryData{REG_DWORD_BIG_ENDIAN, "\1\2\3\4"}));
    EXPECT_EQ(scratch.query("\\A\\B", "Multi"),
              (RegistryData{REG_MULTI_SZ, std::string("C:\\APP\0\0", 8)}));
    EXPECT_EQ(scratch.query("\\A\\B", "Count"),
              (RegistryData{REG_DWORD, std::string("\x2a\0\0\0", 4)}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "REGKEY: \"HKEY_CURRENT_USER\", \"" + scratch.path + "\\A\\B\"",
                             "REGKEY: \"HKEY_CURRENT_USER\", \"" + scratch.path + "\\A\"",
                         }));
}

} // namespace
} // namespace kestrel::os
