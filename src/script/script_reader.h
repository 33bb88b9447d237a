// Delivers the script's lines to the interpreter, from one of two sources:
//
// - the main pass reads the script file once, top to bottom, descrambling every byte with the
//   running count (script_codec.h). Carriage returns are dropped wherever they stand, a line
//   feed ends a line, and a line longer than 998 characters is cut, the rest coming back as
//   the next line. A line feed directly after the 998th character still belongs to the cut
//   line, so a line of exactly 998 characters is one line.
// - the deferred pass serves the lines of the DeferredBlocks that IF conditions waiting for
//   the user's answers stored during the main pass, one block per interpreter run, with a
//   filter that drops the commands that belong to the main pass only.
//
// The running count goes up by one for every read attempt, the one that meets the end of the
// file included, and runs on through the whole main pass (deferred blocks included). The file
// is read in chunks; the count behaves exactly as if it were read a byte at a time.
#pragma once

#include "lexical/line_source.h"
#include "os/file_system.h"
#include "script/deferred_block.h"
#include "script/script_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::files {
class PackedFileLayer;
}

namespace kestrel::script {

enum class MainPassStart : int32_t {
    Started = 0,
    NotOpened = -1,     // the script file cannot be opened
    HeaderMissing = -2, // the file is shorter than its 32-byte header: no lines
};

enum class DeferredPassResult : int32_t { Done = 0, Failed = -1 };

// Count and key from the start of a script file (the first 16 bytes); none when the file
// holds fewer. Reads from the file's start; the position is left after the bytes read.
std::optional<ScriptKey> readScriptKey(os::InputFile& file);
std::optional<ScriptKey> readScriptKey(files::PackedFileLayer& layer, const std::string& name);

class ScriptReader : public lexical::LineSource {
  public:
    static constexpr size_t kLineCapacity = 998;
    // Shows a message to the user (exclamation icon, OK button): the deferred filter's
    // "Missing EndFirstScreen ".
    using MessageSink = std::function<void(std::string_view text)>;

    explicit ScriptReader(MessageSink showMessage = {});
    ~ScriptReader() override;
    ScriptReader(const ScriptReader&) = delete;
    ScriptReader& operator=(const ScriptReader&) = delete;

    // Key and starting count, taken from the header before the main pass.
    void setKey(const ScriptKey& key);
    const ScriptKey& key() const { return key_; }
    // The running count the next byte read will use.
    uint64_t runningCount() const { return count_; }

    // Main pass: takes the file, checks that the header is there and positions on the body.
    MainPassStart beginMainPass(std::unique_ptr<os::InputFile> file);
    MainPassStart beginMainPass(files::PackedFileLayer& layer, const std::string& name);
    void endMainPass(); // closes the file
    bool mainPassOpen() const { return file_ != nullptr; }

    // Main pass: 1 with a line, kLineEnd at the end of the data or on a read error.
    // Deferred pass: the line's number in the script, kLineEnd when the block is over,
    // kLineIgnore for a main-pass-only line (line emptied), kLineError for a broken block
    // (the caller sets its error flag).
    int readScriptLine(std::string& line) override;
    void setPlainRead(bool on) override { plainRead_ = on; }
    bool plainRead() const { return plainRead_; }

    // Main pass, called while an IF line that must wait is being interpreted: reads the
    // following lines up to and including ENDIF into a new DeferredBlock. Returns the block's
    // line count and advances currentLineNumber past the ENDIF line; -1 when no ENDIF comes
    // within 60 lines (all stored blocks are then dropped and the line number stays on IF).
    int bufferDeferredBlock(std::string_view ifLine, int32_t& currentLineNumber);

    bool deferredBlocksExist() const { return blocksMade_ > 0; }
    size_t deferredBlocksMade() const { return blocksMade_; }
    const std::vector<DeferredBlock>& deferredBlocks() const { return blocks_; }
    void discardDeferredBlocks() { blocks_.clear(); }

    bool deferredPass() const { return deferredPass_; }
    // Runs the interpreter once per stored block, in order; runScript returns 0 on success.
    // Fails at once when blocks were lost, and at the first run that fails.
    DeferredPassResult runDeferredPass(const std::function<int()>& runScript);
    const DeferredBlock* currentBlock() const;

  private:
    static constexpr int kEndOfData = -1;
    static constexpr size_t kChunkSize = 4096;

    int nextByte();
    bool readFileLine(std::string& line);
    int serveDeferredLine(std::string& line);
    void serveBlock(size_t index);

    MessageSink showMessage_;
    ScriptKey key_;
    uint64_t count_ = firstBodyCount(ScriptKey{});

    std::unique_ptr<os::InputFile> file_;
    std::array<uint8_t, kChunkSize> chunk_{};
    size_t chunkFilled_ = 0;
    size_t chunkPosition_ = 0;
    bool endOfData_ = false;
    std::optional<int> pending_; // a byte (or the end) read ahead after a cut line

    std::vector<DeferredBlock> blocks_;
    size_t blocksMade_ = 0;
    bool deferredPass_ = false;
    std::optional<size_t> currentBlock_;
    size_t nextSlot_ = 0;
    bool blockEnd_ = false;
    bool plainRead_ = false;
};

} // namespace kestrel::script
