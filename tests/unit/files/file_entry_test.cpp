#include "files/file_entry.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"
#include "support/warnings.h"

#include <functional>

#include <gtest/gtest.h>

namespace kestrel::files {
namespace {

using lexical::OverwriteMode;

class FileEntryTest : public ::testing::Test {
  protected:
    ParsedEntry parse(const std::string& rest, EntryCommand command = EntryCommand::File) {
        lexical::FieldCursor cursor(rest, &macros);
        const FileEntryContext context{
            .overwriteDefault = overwriteDefault, .options = options, .byteModeOff = byteModeOff};
        return parseFileEntry(cursor, command, context);
    }
    ParsedEntry disk(const std::string& rest) { return parse(rest, EntryCommand::InsertDisk); }

    lexical::MacroVariables macros;
    lexical::OptionTables options;
    OverwriteMode overwriteDefault = OverwriteMode::Ask;
    bool byteModeOff = false;
};

TEST_F(FileEntryTest, ABareNameTakesEveryDefault) {
    const ParsedEntry entry = parse("README.TXT");
    EXPECT_FALSE(entry.error);
    EXPECT_EQ(entry.item.name, "README.TXT");
    EXPECT_EQ(entry.item.overwrite, OverwriteMode::Ask);
    EXPECT_EQ(entry.item.attributes, 128u);
    EXPECT_FALSE(entry.item.hasSource);
    EXPECT_TRUE(entry.item.isSelected(options));
    EXPECT_FALSE(byteModeOff);

    overwriteDefault = OverwriteMode::Yes;
    const ParsedEntry quoted = parse("\"Program Files\\B.DLL\" ");
    EXPECT_EQ(quoted.item.overwrite, OverwriteMode::Yes);
    EXPECT_EQ(quoted.item.name, "Program Files\\B.DLL");
}

TEST_F(FileEntryTest, AttributesInAnyOrderWithLaterOnesWinning) {
    const ParsedEntry entry = parse("APP.EXE overwrite = new, POPID=3 COMPRESSED, "
                                    "ATTRIBUTE=\"rh\" OVERWRITE=no POPID=12");
    EXPECT_FALSE(entry.error);
    EXPECT_EQ(entry.item.overwrite, OverwriteMode::No);
    EXPECT_EQ(entry.item.popupId, 12);
    EXPECT_EQ(entry.item.compression, FileCompression::Compressed);
    EXPECT_EQ(entry.item.attributes, 3u);
    EXPECT_TRUE(byteModeOff);
    EXPECT_EQ(parse("SETUP.EXE self-extract").item.compression, FileCompression::SelfExtract);
    EXPECT_EQ(parse("A.INI ATTRIBUTE=\"\"").item.attributes, 0u);
    EXPECT_EQ(parse("A.INI ATTRIBUTE=\"SAHR\"").item.attributes, 39u);
}

TEST_F(FileEntryTest, SourceValuesAreClassified) {
    const auto source = [this](const std::string& value) {
        const ParsedEntry entry = parse("F.DLL SOURCE=" + value);
        EXPECT_FALSE(entry.error) << value;
        EXPECT_TRUE(entry.item.hasSource) << value;
        return std::make_pair(entry.item.source, entry.item.sourceKind);
    };
    EXPECT_EQ(source("C:\\DATA\\"), std::make_pair(std::string("C:\\DATA"), SourceKind::Local));
    EXPECT_EQ(source("\"$DIR2$\\x\""), std::make_pair(std::string("$DIR2$\\x"), SourceKind::Local));
    EXPECT_EQ(source("\\pub\\files"),
              std::make_pair(std::string("\\pub\\files"), SourceKind::ServerRoot));
    // A lone backslash goes like any trailing one: the script's own folder.
    EXPECT_EQ(source("\\"), std::make_pair(std::string("\\"), SourceKind::ScriptDirectory));
    EXPECT_EQ(source("\"\""), std::make_pair(std::string("\\"), SourceKind::ScriptDirectory));
    EXPECT_EQ(source("http://example.test/x"),
              std::make_pair(std::string("http://example.test/x"), SourceKind::Url));
    EXPECT_EQ(source("disk1"), std::make_pair(std::string("\\disk1"), SourceKind::ScriptDirectory));
    EXPECT_EQ(source(std::string(78, 'd')).first.size(), 79u);

    EXPECT_TRUE(parse("F.DLL SOURCE=" + std::string(79, 'd')).error);
    EXPECT_TRUE(parse("F.DLL SOURCE=C:\\" + std::string(497, 'd')).error);
}

TEST_F(FileEntryTest, GroupsAreLookedUpAndDecideTheSelection) {
    for (int32_t number = 0; number < 13; ++number)
        options.setOptionOfGroup(number * 7, number); // groups 0, 7, 14 ... 84
    ParsedEntry entry = parse("F.DLL GROUP=07,14 021");
    ASSERT_FALSE(entry.error);
    EXPECT_EQ(entry.item.groups[0], 1u);
    EXPECT_EQ(entry.item.groups[2], 3u);
    EXPECT_EQ(entry.item.groups[3], FileEntry::kNoGroup);
    EXPECT_FALSE(entry.item.isSelected(options));
    options.setSelected(3, true);
    EXPECT_TRUE(entry.item.isSelected(options));

    // A repeated GROUP replaces the earlier list.
    entry = parse("F.DLL GROUP=21 7 14 GROUP=0 COMPRESSED");
    ASSERT_FALSE(entry.error);
    EXPECT_EQ(entry.item.groups[0], 0u);
    EXPECT_EQ(entry.item.groups[1], FileEntry::kNoGroup);
    EXPECT_FALSE(entry.item.isSelected(options));

    const std::string twelve = "0 7 14 21 28 35 42 49 56 63 70 77";
    EXPECT_FALSE(parse("F.DLL GROUP=" + twelve).error);
    EXPECT_TRUE(parse("F.DLL GROUP=" + twelve + " 84").error);
    EXPECT_TRUE(parse("F.DLL GROUP=5").error);   // declared by no group
    EXPECT_TRUE(parse("F.DLL GROUP=100").error); // not a group number
    EXPECT_TRUE(parse("F.DLL GROUP=7x").error);  // group 7, then the attribute x
}

TEST_F(FileEntryTest, FileLinesAreReadAsFarAsTheyGo) {
    for (const char* line : {
             "F.DLL COMPRESS",          // unknown attribute
             "F.DLL OVERWRITE YES",     // missing '='
             "F.DLL OVERWRITE=MAYBE",   // unknown mode
             "F.DLL POPID=x",           // 0, then the attribute x
             "F.DLL POPID=99999999999", // beyond 32 bits
             "F.DLL ATTRIBUTE=\"RX\"",  // unknown attribute letter
             "F.DLL ATTRIBUTE=R",       // no bits, then the attribute R
             "F.DLL = COMPRESSED",      // '=' without an attribute
         })
        EXPECT_TRUE(parse(line).error) << line;
    EXPECT_TRUE(parse(std::string(499, 'n')).error);
    EXPECT_FALSE(parse(std::string(498, 'n')).error);

    struct Case {
        const char* line;
        const char* warning; // a fragment of a warning; empty: none
        std::function<bool(const FileEntry&)> took;
    };
    const Case cases[] = {
        {"", "without a name", [](const FileEntry& e) { return e.name.empty(); }},
        {"\"UNTERMINATED.DLL", "without a name", [](const FileEntry& e) { return e.name.empty(); }},
        {"F.DLL POPID=", "POPID without a number",
         [](const FileEntry& e) { return e.popupId == 0; }},
        {"F.DLL GROUP= COMPRESSED", "GROUP without numbers",
         [](const FileEntry& e) {
             return e.groups[0] == FileEntry::kNoGroup &&
                    e.compression == FileCompression::Compressed;
         }},
        {"F.DLL ATTRIBUTE=COMPRESSED", "ATTRIBUTE without a quoted value",
         [](const FileEntry& e) {
             return e.attributes == 0 && e.compression == FileCompression::Compressed;
         }},
        {"F.DLL ATTRIBUTE=\"R", "", [](const FileEntry& e) { return e.attributes == 0; }},
        {"F.DLL SOURCE=", "the script's own folder",
         [](const FileEntry& e) {
             return e.source == "\\" && e.sourceKind == SourceKind::ScriptDirectory;
         }},
        // An empty quoted value reads the next word instead.
        {"F.DLL SOURCE=\"\" COMPRESSED", "",
         [](const FileEntry& e) {
             return e.source == "\\COMPRESSED" && e.compression == FileCompression::None;
         }},
    };
    for (const Case& c : cases) {
        const ParsedEntry entry = parse(c.line);
        EXPECT_FALSE(entry.error) << c.line;
        EXPECT_TRUE(test::warned(entry.warnings, c.warning)) << c.line;
        EXPECT_TRUE(c.took(entry.item)) << c.line;
    }
}

TEST_F(FileEntryTest, InsertDiskLinesAreNeverRefused) {
    ParsedEntry entry = disk("");
    EXPECT_FALSE(entry.error);
    EXPECT_EQ(entry.item.kind, EntryKind::Disk);
    EXPECT_EQ(entry.item.name, "the next disk");
    EXPECT_EQ(entry.item.popupId, -1);

    entry = disk("\"Disk 2\" \"APPDISK2\" popid=3");
    EXPECT_FALSE(entry.error);
    EXPECT_EQ(entry.item.kind, EntryKind::DiskWithLabel);
    EXPECT_EQ(entry.item.name, "Disk 2");
    EXPECT_EQ(entry.item.volumeLabel, "APPDISK2");
    EXPECT_EQ(entry.item.popupId, 3);

    entry = disk("\"Disk 3\" \"\" POPID=4");
    EXPECT_EQ(entry.item.kind, EntryKind::Disk);
    EXPECT_EQ(entry.item.popupId, 4);
    EXPECT_EQ(disk("POPID=5").item.popupId, 5);

    // Kept as far as it was read; what was passed over is told.
    const std::pair<const char*, const char*> passedOver[] = {
        {"\"Disk 4\" \"LABEL\" EXTRA", "LABEL"},
        {"\"Disk 4\" \"LABEL\" POPID=2 EXTRA", "LABEL"},
        {"\"Disk 4\" \"THIRTEENCHARS\"", "THIRTEENCHAR"}, // cut to its 12 characters
    };
    for (const auto& [line, label] : passedOver) {
        entry = disk(line);
        EXPECT_FALSE(entry.error) << line;
        EXPECT_EQ(entry.warnings.size(), 1u) << line;
        EXPECT_EQ(entry.item.volumeLabel, label);
    }
}

} // namespace
} // namespace kestrel::files
