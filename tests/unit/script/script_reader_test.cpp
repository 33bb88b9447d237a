#include "script/script_reader.h"

#include "files/container_format.h"
#include "files/packed_file.h"
#include "lexical/line_source.h"
#include "os/memory_input_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kestrel::script {
namespace {

ScriptKey sampleKey(uint8_t count) {
    ScriptKey key;
    key.bytes = {0x5A, 0x13, 0xC4, 0x00, 0x7F, 0x80, 0xFF, 0x21, 0x0D, 0x0A};
    key.count = count;
    return key;
}

std::unique_ptr<os::InputFile> scriptFile(std::string_view text, const ScriptKey& key,
                                          uint32_t maxRead = UINT32_MAX) {
    const std::vector<uint8_t> bytes = encodeScript(text, key);
    return std::make_unique<os::MemoryInputFile>(std::string(bytes.begin(), bytes.end()), maxRead);
}

std::vector<std::string> mainPassLines(ScriptReader& reader) {
    std::vector<std::string> lines;
    std::string line = "stale";
    while (reader.readScriptLine(line) == 1)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> readAll(std::string_view text, const ScriptKey& key = {},
                                 uint32_t maxRead = UINT32_MAX) {
    ScriptReader reader;
    reader.setKey(key);
    EXPECT_EQ(reader.beginMainPass(scriptFile(text, key, maxRead)), MainPassStart::Started);
    return mainPassLines(reader);
}

using Lines = std::vector<std::string>;

TEST(ScriptReaderMainPass, RoundTripsUnderEveryKeyAndReadSize) {
    const std::string text = "TITLE \"Demo\"\nDEFAULTDIR \"C:\\DEMO\"\n\nFILE a.exe\n";
    const Lines expected = {"TITLE \"Demo\"", "DEFAULTDIR \"C:\\DEMO\"", "", "FILE a.exe"};
    for (uint8_t count : {0, 1, 7, 200, 255}) {
        EXPECT_EQ(readAll(text, sampleKey(count)), expected) << int(count);
        EXPECT_EQ(readAll(text, sampleKey(count), 1), expected) << int(count);
        EXPECT_EQ(readAll(text, sampleKey(count), 3), expected) << int(count);
    }
    EXPECT_EQ(readAll(text), expected); // ten zero bytes

    // A body longer than the reader's chunks keeps the count right across chunk borders.
    std::string big;
    Lines bigLines;
    for (int i = 0; i < 2000; ++i) {
        bigLines.push_back("REM line " + std::to_string(i));
        big += bigLines.back() + "\r\n";
    }
    EXPECT_EQ(readAll(big, sampleKey(99)), bigLines);
    EXPECT_EQ(readAll(big, sampleKey(99), 1000), bigLines);
}

TEST(ScriptReaderMainPass, CarriageReturnsLineFeedsAndTheEnd) {
    EXPECT_EQ(readAll("a\r\nb\rc\r\n\r\nlast"), (Lines{"a", "bc", "", "last"}));
    EXPECT_EQ(readAll("a\n\r"), (Lines{"a"})); // a final lone CR ends the script
    EXPECT_EQ(readAll("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(readAll(""), Lines{});
    // Line ends are seen after descrambling: the first body byte uses key byte 6 (0xFF) here,
    // so 0xF5 is stored as 0x0A and 0xF2 as 0x0D, and neither ends or loses anything.
    const Lines tricky = {"\xF5"
                          "b",
                          "cd"};
    EXPECT_EQ(readAll("\xF5"
                      "b\ncd",
                      sampleKey(0)),
              tricky);
    EXPECT_EQ(readAll("\xF2"
                      "b\ncd",
                      sampleKey(0)),
              (Lines{"\xF2"
                     "b",
                     "cd"}));
}

TEST(ScriptReaderMainPass, LongLinesAreCutAt998Characters) {
    const std::string x998(998, 'x');
    EXPECT_EQ(readAll(std::string(1000, 'y') + "\nz"), (Lines{std::string(998, 'y'), "yy", "z"}));
    // Exactly 998 characters and the line feed make one line, CRLF included.
    EXPECT_EQ(readAll(x998 + "\nz"), (Lines{x998, "z"}));
    EXPECT_EQ(readAll(x998 + "\r\nz", sampleKey(4)), (Lines{x998, "z"}));
    EXPECT_EQ(readAll(x998), (Lines{x998}));
    EXPECT_EQ(readAll(x998 + x998 + "\n"), (Lines{x998, x998}));
}

TEST(ScriptReaderMainPass, EveryReadAttemptCountsTheEndIncluded) {
    const ScriptKey key = sampleKey(5);
    ScriptReader reader;
    reader.setKey(key);
    ASSERT_EQ(reader.beginMainPass(scriptFile("ab\ncd", key)), MainPassStart::Started);
    const uint64_t start = 5 + 16;
    EXPECT_EQ(reader.runningCount(), start);
    std::string line;
    EXPECT_EQ(reader.readScriptLine(line), 1);
    EXPECT_EQ(reader.runningCount(), start + 3);
    EXPECT_EQ(reader.readScriptLine(line), 1); // "cd" and the attempt that met the end
    EXPECT_EQ(reader.runningCount(), start + 6);
    EXPECT_EQ(reader.readScriptLine(line), lexical::kLineEnd);
    EXPECT_EQ(reader.runningCount(), start + 7);

    // After a cut line the read-ahead byte is counted once, as if read a byte at a time.
    ScriptReader cut;
    ASSERT_EQ(cut.beginMainPass(scriptFile(std::string(999, 'q'), {})), MainPassStart::Started);
    while (cut.readScriptLine(line) == 1) {
    }
    EXPECT_EQ(cut.runningCount(), 16u + 999 + 2); // two attempts met the end
}

TEST(ScriptReaderMainPass, ShortDamagedAndMissingFiles) {
    ScriptReader reader;
    EXPECT_EQ(reader.beginMainPass(nullptr), MainPassStart::NotOpened);
    for (size_t size : {0, 15, 16, 31}) {
        EXPECT_EQ(
            reader.beginMainPass(std::make_unique<os::MemoryInputFile>(std::string(size, 'K'))),
            MainPassStart::HeaderMissing)
            << size;
        std::string line;
        EXPECT_EQ(reader.readScriptLine(line), lexical::kLineEnd);
    }

    // A read error ends the data: the lines before it are delivered.
    const std::vector<uint8_t> bytes = encodeScript("one\ntwo\nthree\n", {});
    ASSERT_EQ(reader.beginMainPass(std::make_unique<os::MemoryInputFile>(
                  std::string(bytes.begin(), bytes.end()), 4, kScriptHeaderSize + 6)),
              MainPassStart::Started);
    EXPECT_EQ(mainPassLines(reader), (Lines{"one", "tw"}));

    os::MemoryInputFile keyFile(std::string(bytes.begin(), bytes.begin() + 16));
    EXPECT_EQ(readScriptKey(keyFile), ScriptKey{});
    os::MemoryInputFile tooShort("KSTS\x01\x02");
    EXPECT_FALSE(readScriptKey(tooShort));
}

TEST(ScriptReaderMainPass, ReadsPlainFilesAndContainerMembersThroughThePackedFileLayer) {
    const ScriptKey key = sampleKey(31);
    const std::vector<uint8_t> encoded = encodeScript("REM packed\nFILE a\n", key);
    test::TempDir dir;
    const std::string plain = dir.write("SETUP.KST", std::string(encoded.begin(), encoded.end()));
    auto fs = os::makeNativeFileSystem();
    auto out = fs->createForWriting(dir.file("install.pak"));
    ASSERT_TRUE(out);
    files::ContainerWriteError error;
    ASSERT_TRUE(files::writeContainer(*fs, {{"SETUP.KST", plain}}, *out, error)) << error.message;
    out.reset();
    dir.write("SETUP.KST", "not this one"); // the member must win over the plain file

    files::PackedFileLayer layer(*fs);
    ASSERT_TRUE(layer.setContainerPath(dir.file("install.pak")));
    EXPECT_EQ(readScriptKey(layer, "setup.kst"), key);
    ScriptReader reader;
    reader.setKey(key);
    ASSERT_EQ(reader.beginMainPass(layer, "setup.kst"), MainPassStart::Started);
    EXPECT_EQ(mainPassLines(reader), (Lines{"REM packed", "FILE a"}));
    EXPECT_EQ(reader.beginMainPass(layer, dir.file("absent.kst")), MainPassStart::NotOpened);
    EXPECT_FALSE(readScriptKey(layer, dir.file("absent.kst")));
}

// A main pass that meets an IF at line `ifLine` of the script and buffers its block.
struct Buffered {
    ScriptReader reader;
    std::vector<std::string> messages;
    int result = 0;
    int32_t lineNumber = 0;
    Lines after;

    Buffered(const std::string& body, int32_t ifLine, const ScriptKey& key = sampleKey(42))
        : reader([this](std::string_view text) { messages.emplace_back(text); }) {
        reader.setKey(key);
        EXPECT_EQ(reader.beginMainPass(scriptFile("IF ASK1 == \"y\"\n" + body, key)),
                  MainPassStart::Started);
        std::string line;
        EXPECT_EQ(reader.readScriptLine(line), 1);
        lineNumber = ifLine;
        result = reader.bufferDeferredBlock(line, lineNumber);
        after = mainPassLines(reader);
        reader.endMainPass();
    }

    // Serves the first block as the deferred pass does; returns (result, line) pairs.
    std::vector<std::pair<int, std::string>> serve(bool plain = false) {
        std::vector<std::pair<int, std::string>> served;
        reader.setPlainRead(plain);
        reader.runDeferredPass([&] {
            std::string line;
            for (int r; (r = reader.readScriptLine(line)) != lexical::kLineEnd;) {
                served.emplace_back(r, line);
                if (r == lexical::kLineError)
                    return 1;
            }
            return 0;
        });
        return served;
    }
};

std::string bodyLines(int count) {
    std::string body;
    for (int i = 0; i < count; ++i)
        body += "FILE f" + std::to_string(i) + "\n";
    return body;
}

TEST(DeferredBlockBuffering, SixtyLinesAtMostAndTheLineNumbersRunOn) {
    Buffered full(bodyLines(58) + "endif\nREM after\n", 7);
    EXPECT_EQ(full.result, 60);
    EXPECT_EQ(full.lineNumber, 7 + 59); // the ENDIF line's number
    ASSERT_EQ(full.reader.deferredBlocks().size(), 1u);
    EXPECT_EQ(full.reader.deferredBlocks()[0].firstLineNumber(), 7);
    EXPECT_EQ(full.reader.deferredBlocks()[0].line(59), "endif");
    EXPECT_EQ(full.after, (Lines{"REM after"})); // descrambling went on in step
    EXPECT_TRUE(full.reader.deferredBlocksExist());

    Buffered tooLong(bodyLines(59) + "ENDIF\n", 7);
    EXPECT_EQ(tooLong.result, -1);
    EXPECT_EQ(tooLong.lineNumber, 7);
    EXPECT_TRUE(tooLong.reader.deferredBlocks().empty());
    EXPECT_EQ(tooLong.reader.runDeferredPass([] { return 0; }), DeferredPassResult::Failed);

    // Only the first word counts: letters and digits after leading blanks.
    Buffered spaced("\t  EndIf: done\nREM after\n", 1);
    EXPECT_EQ(spaced.result, 2);
    EXPECT_EQ(spaced.after, (Lines{"REM after"}));
    Buffered notEnd("ENDIFS\nENDIF\n", 1);
    EXPECT_EQ(notEnd.result, 3);

    Buffered unended("FILE a\nFILE b", 3); // the data ends first: the block ends there
    EXPECT_EQ(unended.result, 3);
    EXPECT_EQ(unended.lineNumber, 5);
}

TEST(DeferredBlockServing, MainPassCommandsAreDroppedAndLinesKeepTheirNumbers) {
    Buffered block("  title \"New\"\nREM x\nFILE a\nDIR2 \"D:\\\"\nENDIF\n", 10);
    const auto served = block.serve();
    const std::vector<std::pair<int, std::string>> expected = {
        {10, "IF ASK1 == \"y\""}, {lexical::kLineIgnore, ""}, {lexical::kLineIgnore, ""},
        {13, "FILE a"},           {lexical::kLineIgnore, ""}, {15, "ENDIF"},
    };
    EXPECT_EQ(served, expected);
    EXPECT_TRUE(block.reader.deferredPass());

    Buffered plain("TITLE \"New\"\nENDIF\n", 10);
    EXPECT_EQ(plain.serve(true),
              (std::vector<std::pair<int, std::string>>{
                  {10, "IF ASK1 == \"y\""}, {11, "TITLE \"New\""}, {12, "ENDIF"}}));

    // An ENDIF the filter does not take for one still ends the block with its last line.
    Buffered colon("FILE a\nENDIF:\n", 1);
    EXPECT_EQ(colon.serve().back(), (std::pair<int, std::string>{3, "ENDIF:"}));
}

TEST(DeferredBlockServing, FirstScreensArePassedOver) {
    Buffered empty("BEGINFIRSTSCREEN\nENDFIRSTSCREEN\nFILE a\nENDIF\n", 1);
    EXPECT_EQ(
        empty.serve(),
        (std::vector<std::pair<int, std::string>>{
            {1, "IF ASK1 == \"y\""}, {lexical::kLineIgnore, ""}, {4, "FILE a"}, {5, "ENDIF"}}));

    Buffered content("BeginFirstScreen\nHello\nEndFirstScreen\nFILE a\nENDIF\n", 1);
    EXPECT_EQ(content.serve(),
              (std::vector<std::pair<int, std::string>>{
                  {1, "IF ASK1 == \"y\""}, {2, "BeginFirstScreen"}, {5, "FILE a"}, {6, "ENDIF"}}));

    Buffered missing("BEGINFIRSTSCREEN\nHello\nENDIF\n", 1);
    EXPECT_EQ(missing.serve().back().first, lexical::kLineError);
    EXPECT_EQ(missing.messages, (std::vector<std::string>{"Missing EndFirstScreen "}));
}

TEST(DeferredPass, RunsEachBlockInOrderAndStopsAtTheFirstFailure) {
    const ScriptKey key = sampleKey(9);
    ScriptReader reader;
    reader.setKey(key);
    ASSERT_EQ(reader.beginMainPass(
                  scriptFile("IF a\nFILE 1\nENDIF\nREM\nIF b\nFILE 2\nENDIF\nIF c\nENDIF\n", key)),
              MainPassStart::Started);
    std::string line;
    int32_t lineNumber = 0;
    while (reader.readScriptLine(line) == 1) {
        ++lineNumber;
        if (line.starts_with("IF"))
            reader.bufferDeferredBlock(line, lineNumber);
    }
    EXPECT_EQ(lineNumber, 9);
    EXPECT_EQ(reader.deferredBlocksMade(), 3u);

    Lines firsts;
    int runs = 0;
    EXPECT_EQ(reader.runDeferredPass([&] {
        ++runs;
        reader.readScriptLine(line);
        firsts.push_back(line);
        while (reader.readScriptLine(line) != lexical::kLineEnd) {
        }
        return line.empty() && firsts.size() == 2 ? 1 : 0;
    }),
              DeferredPassResult::Failed);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(firsts, (Lines{"IF a", "IF b"}));
    EXPECT_EQ(reader.readScriptLine(line), lexical::kLineEnd); // no current block any more

    ScriptReader none;
    EXPECT_EQ(none.runDeferredPass([] { return 1; }), DeferredPassResult::Done);
}

} // namespace
} // namespace kestrel::script
