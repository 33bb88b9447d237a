// kst encode / kst decode: installation scripts between plain text and the .kst form (a 32-byte
// header holding count and key, then the scrambled text).
#include "command.h"
#include "os/file_system.h"
#include "os/memory_input_file.h"
#include "script/script_codec.h"
#include "script/script_reader.h"
#include "script_file.h"

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <variant>

namespace kst {
namespace {

using kestrel::script::ScriptKey;

// Writes all bytes; on failure the partial file is removed.
bool writeWholeFile(kestrel::os::FileSystem& fs, const std::string& path, const void* bytes,
                    size_t size) {
    auto out = fs.createForWriting(path);
    if (!out)
        return false;
    const auto* data = static_cast<const char*>(bytes);
    while (size > 0) {
        const auto chunk = uint32_t(std::min<size_t>(size, 1u << 20));
        if (out->write(data, chunk) != int32_t(chunk)) {
            out.reset();
            std::remove(path.c_str());
            return false;
        }
        data += chunk;
        size -= chunk;
    }
    return true;
}

std::string hex(const ScriptKey& key) {
    std::ostringstream text;
    for (uint8_t byte : key.bytes)
        text << std::hex << std::setw(2) << std::setfill('0') << int(byte);
    return text.str();
}

struct EncodeOptions {
    std::string input;
    std::string output;
    std::string key;
    std::optional<int> count;
};

int encode(const EncodeOptions& options, bool verbose) {
    ScriptKey key;
    std::random_device random;
    if (options.key.empty()) {
        for (uint8_t& byte : key.bytes)
            byte = uint8_t(random());
    } else {
        key.bytes = *kestrel::script::parseHexKey(options.key); // checked with the options
    }
    key.count = options.count ? uint8_t(*options.count) : uint8_t(random());

    auto fs = kestrel::os::makeNativeFileSystem();
    const auto text = readWholeFile(options.input);
    if (!text)
        return fail(options.input, "cannot read the file");
    if (text->size() > std::numeric_limits<uint32_t>::max())
        return fail(options.input, "a script cannot be larger than 4 GB");
    const std::vector<uint8_t> encoded = kestrel::script::encodeScript(*text, key);
    if (!writeWholeFile(*fs, options.output, encoded.data(), encoded.size()))
        return fail(options.output, "cannot write the file");
    if (verbose)
        std::cerr << "kst: encoded " << options.input << " into " << options.output << " (key "
                  << hex(key) << ", count " << int(key.count) << ")\n";
    return 0;
}

struct DecodeOptions {
    std::string input;
    std::string output;
    bool force = false;
};

int decode(const DecodeOptions& options, bool verbose) {
    const auto bytes = readWholeFile(options.input);
    if (!bytes)
        return fail(options.input, "cannot read the file");
    const auto header = readScriptHeader(*bytes, options.force);
    if (const auto* problem = std::get_if<std::string>(&header))
        return fail(options.input, *problem);
    const auto& key = std::get<ScriptKey>(header);

    kestrel::script::ScriptReader reader;
    reader.beginMainPass(std::make_unique<kestrel::os::MemoryInputFile>(*bytes));
    reader.setKey(key);
    std::string text;
    std::string line;
    size_t lines = 0;
    while (reader.readScriptLine(line) == 1) {
        text += line;
        text += '\n';
        ++lines;
    }
    reader.endMainPass();

    auto fs = kestrel::os::makeNativeFileSystem();
    if (options.output.empty()) {
        std::cout.write(text.data(), std::streamsize(text.size()));
        std::cout.flush();
        if (!std::cout)
            return fail("", "cannot write to standard output");
    } else if (!writeWholeFile(*fs, options.output, text.data(), text.size())) {
        return fail(options.output, "cannot write the file");
    }
    if (verbose)
        std::cerr << "kst: decoded " << lines << " lines of " << options.input << " (key "
                  << hex(key) << ", count " << int(key.count) << ")\n";
    return 0;
}

} // namespace

void addScriptCommands(CLI::App& app, Session& session) {
    auto encodeOptions = std::make_shared<EncodeOptions>();
    auto* encodeCommand =
        app.add_subcommand("encode", "Make an installation script (.kst) from a plain script");
    encodeCommand->add_option("SCRIPT", encodeOptions->input, "The plain script")->required();
    encodeCommand->add_option("-o,--output", encodeOptions->output, "The .kst file to write")
        ->required();
    encodeCommand
        ->add_option("--key", encodeOptions->key,
                     "Script key: 20 hexadecimal digits (default: random; 00000000000000000000 "
                     "leaves the text readable)")
        ->type_name("HEX")
        ->check(valueIs("20 hexadecimal digits", [](const std::string& text) {
            return kestrel::script::parseHexKey(text).has_value();
        }));
    encodeCommand
        ->add_option("--count", encodeOptions->count, "Starting count 0..255 (default: random)")
        ->type_name("N")
        ->check(numberFrom(0, 255));
    encodeCommand->callback(
        [&session, encodeOptions] { session.exitCode = encode(*encodeOptions, session.verbose); });

    auto decodeOptions = std::make_shared<DecodeOptions>();
    auto* decodeCommand = app.add_subcommand(
        "decode", "Write the lines of an installation script (.kst) as the installer reads them");
    decodeCommand->add_option("SCRIPT", decodeOptions->input, "The .kst file")->required();
    decodeCommand->add_option("-o,--output", decodeOptions->output,
                              "The text file to write (default: standard output)");
    decodeCommand->add_flag("--force", decodeOptions->force,
                            "Read the file even when its header is not that of a .kst file");
    decodeCommand->callback(
        [&session, decodeOptions] { session.exitCode = decode(*decodeOptions, session.verbose); });
}

} // namespace kst
