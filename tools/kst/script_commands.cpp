// kst encode / kst decode: installation scripts between plain text and the .kst form (a 32-byte
// header holding count and key, then the scrambled text).
#include "command.h"
#include "files/packed_file.h"
#include "script/script_codec.h"
#include "script/script_reader.h"

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

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
    } else if (auto parsed = kestrel::script::parseHexKey(options.key)) {
        key.bytes = *parsed;
    } else {
        return fail(options.input,
                    "--key needs exactly 20 hexadecimal digits, not \"" + options.key + "\"");
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

int decode(const std::string& input, const std::string& output, bool verbose) {
    auto fs = kestrel::os::makeNativeFileSystem();
    kestrel::files::PackedFileLayer layer(*fs);
    const auto key = kestrel::script::readScriptKey(layer, input);
    kestrel::script::ScriptReader reader;
    switch (reader.beginMainPass(layer, input)) {
    case kestrel::script::MainPassStart::NotOpened:
        return fail(input, "cannot open the file");
    case kestrel::script::MainPassStart::HeaderMissing:
        return fail(input, "shorter than the 32-byte script header: not an installation script");
    case kestrel::script::MainPassStart::Started:
        break;
    }
    reader.setKey(*key); // the header is there, so the key is too

    std::string text;
    std::string line;
    size_t lines = 0;
    while (reader.readScriptLine(line) == 1) {
        text += line;
        text += '\n';
        ++lines;
    }
    reader.endMainPass();

    if (output.empty()) {
        std::cout.write(text.data(), std::streamsize(text.size()));
        std::cout.flush();
        if (!std::cout)
            return fail("", "cannot write to standard output");
    } else if (!writeWholeFile(*fs, output, text.data(), text.size())) {
        return fail(output, "cannot write the file");
    }
    if (verbose)
        std::cerr << "kst: decoded " << lines << " lines of " << input << " (key " << hex(*key)
                  << ", count " << int(key->count) << ")\n";
    return 0;
}

} // namespace

void addScriptCommands(CLI::App& app, Session& session) {
    auto encodeOptions = std::make_shared<EncodeOptions>();
    auto* encodeCommand = app.add_subcommand(
        "encode", "Make an installation script (.kst) from a plain script. Key and count are "
                  "random unless given; --key 00000000000000000000 leaves the text readable.");
    encodeCommand->add_option("script", encodeOptions->input, "The plain script")->required();
    encodeCommand->add_option("-o,--output", encodeOptions->output, "The .kst file to write")
        ->required();
    encodeCommand->add_option("--key", encodeOptions->key,
                              "Script key: 20 hexadecimal digits (default: random)");
    encodeCommand
        ->add_option("--count", encodeOptions->count, "Starting count 0..255 (default: random)")
        ->check(CLI::Range(0, 255));
    encodeCommand->callback(
        [&session, encodeOptions] { session.exitCode = encode(*encodeOptions, session.verbose); });

    auto input = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    auto* decodeCommand = app.add_subcommand(
        "decode", "Write the lines of an installation script (.kst) as the installer reads them");
    decodeCommand->add_option("script", *input, "The .kst file")->required();
    decodeCommand->add_option("-o,--output", *output, "The text file to write (default: stdout)");
    decodeCommand->callback(
        [&session, input, output] { session.exitCode = decode(*input, *output, session.verbose); });
}

} // namespace kst
