#include "script/script_reader.h"

#include "files/packed_file.h"
#include "lexical/ansi_text.h"
#include "lexical/line_source.h"
#include "lexical/line_words.h"
#include "lexical/message_texts.h"
#include "os/read_fully.h"
#include "script/command_table.h"
#include "script/plugin_globals.h"

#include <algorithm>

namespace kestrel::script {

std::optional<ScriptKey> readScriptKey(os::InputFile& file) {
    std::array<uint8_t, kScriptKeyEnd> header{};
    if (file.seek(0, os::SeekOrigin::Start) != 0)
        return std::nullopt;
    const int64_t got = os::readFully(file, header.data(), header.size());
    if (got < 0)
        return std::nullopt;
    return parseScriptHeader(std::span(header.data(), static_cast<size_t>(got)));
}

std::optional<ScriptKey> readScriptKey(files::PackedFileLayer& layer, const std::string& name) {
    std::unique_ptr<os::InputFile> file = layer.open(name);
    if (!file)
        return std::nullopt;
    return readScriptKey(*file);
}

ScriptReader::ScriptReader(MessageSink showMessage) : showMessage_(std::move(showMessage)) {}

ScriptReader::~ScriptReader() = default;

void ScriptReader::setKey(const ScriptKey& key) {
    key_ = key;
    count_ = firstBodyCount(key);
}

MainPassStart ScriptReader::beginMainPass(std::unique_ptr<os::InputFile> file) {
    endMainPass();
    if (!file)
        return MainPassStart::NotOpened;
    std::array<uint8_t, kScriptHeaderSize> header{};
    if (file->seek(0, os::SeekOrigin::Start) != 0 ||
        os::readFully(*file, header.data(), header.size()) != int64_t{kScriptHeaderSize})
        return MainPassStart::HeaderMissing;
    file_ = std::move(file);
    return MainPassStart::Started;
}

MainPassStart ScriptReader::beginMainPass(files::PackedFileLayer& layer, const std::string& name) {
    return beginMainPass(layer.open(name));
}

void ScriptReader::endMainPass() {
    file_.reset();
    chunkFilled_ = chunkPosition_ = 0;
    endOfData_ = false;
    pending_.reset();
}

// One read attempt: the next descrambled byte, or kEndOfData at the end or on an error.
int ScriptReader::nextByte() {
    if (pending_) {
        const int byte = *pending_;
        pending_.reset();
        return byte;
    }
    const uint64_t n = count_++;
    if (!endOfData_ && chunkPosition_ == chunkFilled_) {
        const int32_t got = file_ ? file_->read(chunk_.data(), kChunkSize) : -1;
        if (got <= 0) {
            endOfData_ = true; // a read error ends the data too
        } else {
            chunkFilled_ = static_cast<size_t>(got);
            chunkPosition_ = 0;
        }
    }
    if (endOfData_)
        return kEndOfData;
    return chunk_[chunkPosition_++] ^ key_.bytes[n % kScriptKeySize];
}

bool ScriptReader::readFileLine(std::string& line) {
    line.clear();
    bool collected = false;
    while (line.size() < kLineCapacity) {
        const int byte = nextByte();
        if (byte == kEndOfData)
            return collected;
        if (byte == '\r')
            continue;
        collected = true;
        if (byte == '\n')
            return true;
        line.push_back(static_cast<char>(byte));
    }
    // The line is full. A line feed right here still ends this line rather than giving an
    // empty one; anything else is kept for the next line.
    int byte;
    do {
        byte = nextByte();
    } while (byte == '\r');
    if (byte != '\n')
        pending_ = byte;
    return true;
}

int ScriptReader::readScriptLine(std::string& line) {
    if (deferredPass_)
        return serveDeferredLine(line);
    if (!file_) {
        line.clear();
        return lexical::kLineEnd;
    }
    return readFileLine(line) ? 1 : lexical::kLineEnd;
}

int ScriptReader::bufferDeferredBlock(std::string_view ifLine, int32_t& currentLineNumber) {
    if (deferredPass_)
        return -1;
    ++blocksMade_;
    DeferredBlock block(currentLineNumber);
    block.append(ifLine);
    std::string line;
    while (readFileLine(line)) {
        block.append(line);
        if (lexical::equalsIgnoringAsciiCase(lexical::leadingAlphanumericWord(line), "ENDIF"))
            break;
        if (block.full()) {
            discardDeferredBlocks();
            return -1;
        }
    }
    const auto count = static_cast<int32_t>(block.count());
    currentLineNumber += count - 1;
    blocks_.push_back(std::move(block));
    return count;
}

int ScriptReader::serveDeferredLine(std::string& line) {
    line.clear();
    if (!currentBlock_ || *currentBlock_ >= blocks_.size())
        return lexical::kLineEnd;
    if (blockEnd_) {
        blockEnd_ = false;
        return lexical::kLineEnd;
    }
    const DeferredBlock& block = blocks_[*currentBlock_];
    if (nextSlot_ >= block.count())
        return lexical::kLineEnd;
    const size_t slot = nextSlot_++;
    line = block.line(slot);
    const int lineNumber = block.firstLineNumber() + static_cast<int>(slot);
    if (plainRead_)
        return lineNumber;

    const std::string_view word = lexical::leadingBlankDelimitedWord(line);
    if (lexical::equalsIgnoringAsciiCase(word, "ENDIF")) {
        blockEnd_ = true;
        return lineNumber;
    }
    if (isMainPassOnlyCommand(word)) {
        line.clear();
        return lexical::kLineIgnore;
    }
    if (lexical::equalsIgnoringAsciiCase(word, "BEGINFIRSTSCREEN")) {
        // The first screen was shown long ago: its lines are passed over.
        for (size_t end = slot + 1; end < block.count(); ++end) {
            if (!lexical::equalsIgnoringAsciiCase(
                    lexical::leadingBlankDelimitedWord(block.line(end)), "ENDFIRSTSCREEN"))
                continue;
            nextSlot_ = end + 1;
            if (end == slot + 1) {
                line.clear();
                return lexical::kLineIgnore;
            }
            return lineNumber; // a screen with content: the interpreter refuses it here
        }
        if (showMessage_)
            showMessage_(lexical::texts::kMissingEndFirstScreen);
        return lexical::kLineError;
    }
    return lineNumber;
}

void ScriptReader::serveBlock(size_t index) {
    currentBlock_ = index;
    nextSlot_ = 0;
    blockEnd_ = false;
}

DeferredPassResult ScriptReader::runDeferredPass(const std::function<int()>& runScript) {
    deferredPass_ = true;
    if (blocks_.size() != blocksMade_)
        return DeferredPassResult::Failed;
    DeferredPassResult result = DeferredPassResult::Done;
    for (size_t i = 0; i < blocks_.size(); ++i) {
        serveBlock(i);
        if (runScript() != 0) {
            result = DeferredPassResult::Failed;
            break;
        }
    }
    currentBlock_.reset();
    return result;
}

const DeferredBlock* ScriptReader::currentBlock() const {
    return currentBlock_ && *currentBlock_ < blocks_.size() ? &blocks_[*currentBlock_] : nullptr;
}

} // namespace kestrel::script
