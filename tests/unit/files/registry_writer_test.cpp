#include "fakes/memory_registry.h"
#include "fakes/recording_log.h"
#include "files/registry_writer.h"

#include <gtest/gtest.h>

namespace kestrel::files {
namespace {

using os::RegistryData;
constexpr auto kMachine = os::RegistryRootKey::LocalMachine;
constexpr char kKey[] = "SOFTWARE\\Kestrel";

RegistryValue value(RegistryValueType type, RegistryValueOperation operation,
                    std::optional<std::string> name, std::string data = {}) {
    RegistryValue v;
    v.type = type;
    v.operation = operation;
    v.name = std::move(name);
    v.data = std::move(data);
    return v;
}

RegistryBlock block(RegistryKeyOperation operation, std::string path,
                    std::vector<RegistryValue> values = {}) {
    RegistryBlock b;
    b.root = RegistryRoot::LocalMachine;
    b.rootName = "HKEY_LOCAL_MACHINE";
    b.keyOperation = operation;
    b.subkeyPath = std::move(path);
    b.values = std::move(values);
    return b;
}

RegistryData dword(uint32_t n) {
    return {4, std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)}};
}

struct RegistryWriter : ::testing::Test {
    test::MemoryRegistry registry;
    test::RecordingLog log;
    lexical::MacroVariables macros;
    RegistryWriter() {
        registry.addKey(kMachine, "SOFTWARE");
        registry.addKey(kMachine, kKey);
        macros.setDefaultDir("C:\\APP");
    }
    void write(std::vector<RegistryValue> values) {
        std::vector<RegistryBlock> blocks{
            block(RegistryKeyOperation::Query, kKey, std::move(values))};
        runRegistryPhase(blocks, registry, macros, log);
    }
    const RegistryData* get(const std::string& name) {
        return registry.value(kMachine, kKey, name);
    }
};

TEST_F(RegistryWriter, NewKeysAreRecordedAndLoggedDeepestFirst) {
    std::vector<RegistryBlock> blocks{
        block(RegistryKeyOperation::New, "SOFTWARE\\A\\B",
              {value(RegistryValueType::String, RegistryValueOperation::New, "Dir",
                     "$DEFAULTDIR$\\$ $NOMACRO$")}),
        block(RegistryKeyOperation::New, "SOFTWARE\\A\\C")};
    runRegistryPhase(blocks, registry, macros, log);
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "REGKEY: \"HKEY_LOCAL_MACHINE\", \"SOFTWARE\\A\\B\"",
                             "REGKEY: \"HKEY_LOCAL_MACHINE\", \"SOFTWARE\\A\"",
                             "REGKEY: \"HKEY_LOCAL_MACHINE\", \"SOFTWARE\\A\\C\"",
                         }));
    ASSERT_TRUE(registry.value(kMachine, "SOFTWARE\\A\\B", "dir"));
    EXPECT_EQ(registry.value(kMachine, "SOFTWARE\\A\\B", "dir")->bytes,
              std::string("C:\\APP\\$ $NOMACRO$\0", 19));
}

TEST_F(RegistryWriter, ValuesOfEveryKindAreWrittenWhole) {
    RegistryValue binary = value(RegistryValueType::Binary, RegistryValueOperation::New, "Bin");
    binary.binaryData = std::string("\x01\x00\xff", 3);
    write({value(RegistryValueType::MultiString, RegistryValueOperation::New, "Multi", "one"),
           value(RegistryValueType::ExpandString, RegistryValueOperation::New, std::nullopt,
                 "%PATH%"),
           value(RegistryValueType::Dword, RegistryValueOperation::New, "D", "0x10"),
           value(RegistryValueType::DwordBigEndian, RegistryValueOperation::New, "B", "0x01020304"),
           binary, value(RegistryValueType::Link, RegistryValueOperation::New, "L", "x")});
    EXPECT_EQ(*get("Multi"), (RegistryData{7, std::string("one\0\0", 5)}));
    EXPECT_EQ(*get(""), (RegistryData{2, std::string("%PATH%\0", 7)}));
    EXPECT_EQ(*get("D"), dword(16));
    EXPECT_EQ(*get("B"), (RegistryData{5, "\x01\x02\x03\x04"}));
    EXPECT_EQ(*get("Bin"), (RegistryData{3, std::string("\x01\x00\xff", 3)}));
    EXPECT_EQ(get("L"), nullptr);
}

TEST_F(RegistryWriter, ExistingValuesAreKeptReplacedInPlaceOrRenamed) {
    registry.setValue(kMachine, kKey, "Keep", {1, std::string("old\0", 4)});
    registry.setValue(kMachine, kKey, "Over", {1, std::string("old\0", 4)});
    registry.setValue(kMachine, kKey, "Old", {1, std::string("x\0", 2)});
    registry.setValue(kMachine, kKey, "Self", {1, std::string("s\0", 2)});
    write({value(RegistryValueType::String, RegistryValueOperation::New, "keep", "new"),
           value(RegistryValueType::String, RegistryValueOperation::Replace, "Over", "new")});
    RegistryValue rename = value(RegistryValueType::String, RegistryValueOperation::Rename, "Old");
    rename.newName = "New";
    RegistryValue self = value(RegistryValueType::String, RegistryValueOperation::Rename, "Self");
    self.newName = "SELF";
    write({rename, self});
    EXPECT_EQ(get("Keep")->bytes, std::string("old\0", 4));
    EXPECT_EQ(get("Over")->bytes, std::string("new\0", 4));
    EXPECT_EQ(get("Old"), nullptr);
    EXPECT_EQ(get("New")->bytes, std::string("x\0", 2));
    ASSERT_NE(get("Self"), nullptr);
    EXPECT_EQ(get("Self")->bytes, std::string("s\0", 2));
    // A REPLACE that cannot be written leaves the old value.
    registry.readOnlyKeys.insert(kKey);
    write({value(RegistryValueType::String, RegistryValueOperation::Replace, "Over", "lost")});
    EXPECT_EQ(get("Over")->bytes, std::string("new\0", 4));
}

TEST_F(RegistryWriter, NumericOperationsTouchNumbersOnly) {
    registry.setValue(kMachine, kKey, "Count", dword(41));
    registry.setValue(kMachine, kKey, "Big", {5, std::string("\x00\x00\x01\x00", 4)});
    registry.setValue(kMachine, kKey, "Bits", {3, std::string("\x05", 1)});
    registry.setValue(kMachine, kKey, "Text", {1, std::string("12\0", 3)});
    registry.setValue(kMachine, kKey, "Blob", {3, "12345"});
    using Op = RegistryValueOperation;
    using T = RegistryValueType;
    write({value(T::Dword, Op::Increment, "Count", "1"), value(T::Dword, Op::Increment, "New", "1"),
           value(T::Dword, Op::Max, "Big", "255"), value(T::Dword, Op::Min, "Bits", "11"),
           value(T::Dword, Op::Max, "Text", "99"), value(T::Dword, Op::Max, "Blob", "99"),
           value(T::String, Op::Increment, "NoNumber", "1")});
    EXPECT_EQ(*get("Count"), dword(42));
    EXPECT_EQ(*get("New"), dword(1));
    EXPECT_EQ(*get("Big"), (RegistryData{5, std::string("\x00\x00\x01\x00", 4)}));
    EXPECT_EQ(*get("Bits"), (RegistryData{3, std::string("\x03\x00\x00\x00", 4)})); // base 2
    EXPECT_EQ(get("Text")->bytes, std::string("12\0", 3));
    EXPECT_EQ(get("Blob")->bytes, "12345");
    EXPECT_EQ(get("NoNumber"), nullptr);
}

TEST_F(RegistryWriter, KeyOperationsNeverReachBeyondTheirKey) {
    registry.addKey(kMachine, "SOFTWARE\\Kestrel\\Sub");
    registry.addKey(kMachine, "SOFTWARE\\Leaf");
    registry.uncreatableKeys.insert("SOFTWARE\\X\\Y");
    std::vector<RegistryBlock> blocks{
        block(RegistryKeyOperation::Delete, kKey), // has a subkey: kept whole
        block(RegistryKeyOperation::Delete, "SOFTWARE\\Leaf"),
        block(RegistryKeyOperation::Rename, "SOFTWARE\\Leaf2"),
        block(RegistryKeyOperation::Query, "SOFTWARE\\Missing",
              {value(RegistryValueType::String, RegistryValueOperation::New, "V", "v")}),
        block(RegistryKeyOperation::New, "SOFTWARE\\X\\Y\\Z",
              {value(RegistryValueType::String, RegistryValueOperation::New, "V", "v")})};
    runRegistryPhase(blocks, registry, macros, log);
    EXPECT_TRUE(registry.keys.count({kMachine, "SOFTWARE\\Kestrel\\Sub"}));
    EXPECT_TRUE(registry.keys.count({kMachine, kKey}));
    EXPECT_FALSE(registry.keys.count({kMachine, "SOFTWARE\\Leaf"}));
    EXPECT_FALSE(registry.keys.count({kMachine, "SOFTWARE\\Missing"}));
    EXPECT_FALSE(registry.keys.count({kMachine, "SOFTWARE\\X\\Y\\Z"}));
    // The level made before the failure is still recorded for the uninstall.
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"REGKEY: \"HKEY_LOCAL_MACHINE\", \"SOFTWARE\\X\""});
}

} // namespace
} // namespace kestrel::files
