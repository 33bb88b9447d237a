#include "files/registry_block.h"

#include "fakes/line_list_source.h"
#include "lexical/field_cursor.h"
#include "lexical/line_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::files {
namespace {

using test::LineListSource;

struct Parsed {
    RegistryBlockParse result;
    std::string cursorLine;
};

Parsed parse(std::vector<std::string> lines) {
    LineListSource source(lines);
    lexical::FieldCursor cursor("BEGINREGISTRY");
    RegistryBlockParse result = parseRegistryBlock(cursor, source);
    return {std::move(result), cursor.text()};
}

TEST(RegistryBlock, ReadsKeyAndValuesUpToTheEnd) {
    LineListSource source(std::vector<std::string>{
        "KEY NEW \"hkey_local_machine\\SOFTWARE\\Kestrel\\Demo\"",
        "REM a comment",
        "",
        "; not a word",
        "VALUE STRING NEW \"Path\" \"$DEFAULTDIR$\\bin\"",
        "VALUE REG_EXPAND_SZ REPLACE \"default\" \"x\"",
        "VALUE DWORD INCREMENT \"Count\" \"0x10\"",
        "VALUE BINARY NEW \"Flags\" \"0000000111111111101\"",
        "VALUE STRING RENAME \"Old\" \"DEFAULT\"",
        "VALUE REG_DWORD_BIG_ENDIAN DELETE \"Gone\"",
        "endregistry",
        "TITLE \"after the block\"",
    });
    lexical::FieldCursor cursor;
    RegistryBlockParse result = parseRegistryBlock(cursor, source);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.linesTaken, 11);
    EXPECT_EQ(source.linesServed(), 11u);
    ASSERT_TRUE(result.block);
    const RegistryBlock& block = *result.block;
    EXPECT_EQ(block.keyOperation, RegistryKeyOperation::New);
    EXPECT_EQ(block.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(block.rootName, "hkey_local_machine");
    EXPECT_EQ(block.subkeyPath, "SOFTWARE\\Kestrel\\Demo");

    ASSERT_EQ(block.values.size(), 6u);
    EXPECT_EQ(block.values[0].type, RegistryValueType::String);
    EXPECT_EQ(block.values[0].name, "Path");
    EXPECT_EQ(block.values[0].data, "$DEFAULTDIR$\\bin");
    EXPECT_EQ(block.values[1].type, RegistryValueType::ExpandString);
    EXPECT_EQ(block.values[1].operation, RegistryValueOperation::Replace);
    EXPECT_FALSE(block.values[1].name.has_value()); // the default value
    EXPECT_EQ(block.values[2].operation, RegistryValueOperation::Increment);
    EXPECT_EQ(block.values[2].data, "0x10");
    EXPECT_EQ(block.values[3].binaryData, std::string("\x01\xFF\x05", 3));
    EXPECT_EQ(block.values[4].operation, RegistryValueOperation::Rename);
    EXPECT_EQ(block.values[4].name, "Old");
    EXPECT_FALSE(block.values[4].newName.has_value());
    EXPECT_EQ(block.values[4].data, "");
    EXPECT_EQ(block.values[5].operation, RegistryValueOperation::Delete);
}

TEST(RegistryBlock, KeyOperations) {
    auto rename = parse({"KEY RENAME \"HKEY_CURRENT_USER\\A\\B\" \"C\"", "ENDREGISTRY"});
    ASSERT_TRUE(rename.result.ok());
    EXPECT_EQ(rename.result.block->keyOperation, RegistryKeyOperation::Rename);
    EXPECT_EQ(rename.result.block->root, RegistryRoot::CurrentUser);
    EXPECT_EQ(rename.result.block->newKeyName, "C");

    auto query = parse({"KEY query \"HKEY_DYN_DATA\\X\"", "ENDREGISTRY"});
    ASSERT_TRUE(query.result.ok());
    EXPECT_EQ(query.result.block->keyOperation, RegistryKeyOperation::Query);
    EXPECT_EQ(query.result.block->root, RegistryRoot::DynData);

    // A block without a KEY line writes nothing, and is no error.
    auto empty = parse({"REM nothing yet", "ENDREGISTRY"});
    EXPECT_TRUE(empty.result.ok());
    EXPECT_FALSE(empty.result.block);
}

TEST(RegistryBlock, EveryMalformedLineFailsTheBlockOnThatLine) {
    const std::string key = "KEY NEW \"HKEY_USERS\\A\"";
    const std::vector<std::string> badLines = {
        "KEY NEW \"HKEY_CURRENT_USER\"",
        "KEY NEW \"HKEY_NOWHERE\\A\"",
        "KEY NEW \"HKEY_USERS\\\"",
        "KEY MAKE \"HKEY_USERS\\A\"",
        "KEY NEW HKEY_USERS\\A",
        "KEY RENAME \"HKEY_USERS\\A\"",
        "VALUE TEXT NEW \"a\" \"b\"",
        "VALUE STRING ADD \"a\" \"b\"",
        "VALUE STRING NEW",
        "VALUE STRING NEW name \"b\"",
        "VALUE STRING NEW \"a\"",
        "VALUE STRING NEW \"a\" \"b",
        "VALUE BINARY NEW \"a\" \"00000002\"",
        "VALUE DWORD NEW \"a\" \"abc\"",
        "VALUE DWORD NEW \"a\" \"0x\"",
        "VALUE DWORD NEW \"a\" \"08\"",
        "VALUE DWORD NEW \"a\" \"4294967296\"",
        "VALUE STRING RENAME \"a\"",
        key,
        "FILE \"x\"",
    };
    for (const std::string& bad : badLines) {
        auto parsed = parse({key, "VALUE STRING NEW \"ok\" \"ok\"", bad, "ENDREGISTRY"});
        EXPECT_FALSE(parsed.result.ok()) << bad;
        EXPECT_FALSE(parsed.result.block) << bad;
        EXPECT_EQ(parsed.result.linesTaken, 3) << bad;
        EXPECT_EQ(parsed.cursorLine, bad);
    }
    EXPECT_TRUE(parse({key, "VALUE DWORD NEW \"a\" \"4294967295\"", "ENDREGISTRY"}).result.ok());
    EXPECT_TRUE(parse({key, "VALUE DWORD NEW \"a\" \"017\"", "ENDREGISTRY"}).result.ok());

    auto valueFirst = parse({"VALUE STRING NEW \"a\" \"b\"", key, "ENDREGISTRY"});
    EXPECT_FALSE(valueFirst.result.ok());
    EXPECT_EQ(valueFirst.result.linesTaken, 1);

    auto unended = parse({key, "VALUE STRING NEW \"a\" \"b\""});
    EXPECT_FALSE(unended.result.ok());
    EXPECT_EQ(unended.result.linesTaken, 2);
}

TEST(RegistryBlock, HoldsFiftyValuesAndRefusesTheNext) {
    std::vector<std::string> lines = {"KEY NEW \"HKEY_CLASSES_ROOT\\.kst\""};
    for (int i = 0; i < 50; ++i)
        lines.push_back("VALUE STRING NEW \"v" + std::to_string(i) + "\" \"x\"");
    lines.push_back("ENDREGISTRY");
    auto fifty = parse(lines);
    ASSERT_TRUE(fifty.result.ok());
    EXPECT_EQ(fifty.result.block->values.size(), 50u);

    lines.insert(lines.end() - 1, "VALUE STRING NEW \"v50\" \"x\"");
    auto fiftyOne = parse(lines);
    EXPECT_FALSE(fiftyOne.result.ok());
    EXPECT_EQ(fiftyOne.result.linesTaken, 52);
}

TEST(RegistryBlock, DeferredLinesKeepTheirNumbersAndIgnoredLinesCount) {
    auto source = LineListSource::withResults({
        {12, "KEY NEW \"HKEY_USERS\\A\""},
        {lexical::kLineIgnore, ""},
        {14, "ENDREGISTRY"},
    });
    lexical::FieldCursor cursor;
    RegistryBlockParse result = parseRegistryBlock(cursor, source);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.linesTaken, 3);
    EXPECT_EQ(result.lastLineNumber, 14);

    auto broken = LineListSource::withResults({
        {20, "KEY NEW \"HKEY_USERS\\A\""},
        {lexical::kLineError, ""},
    });
    EXPECT_FALSE(parseRegistryBlock(cursor, broken).ok());
}

} // namespace
} // namespace kestrel::files
