// kst implode / kst explode: raw implode streams, the compressed form of archive members.
#include "command.h"
#include "files/explode_decoder.h"
#include "files/implode_encoder.h"
#include "os/file_system.h"

#include <iostream>
#include <memory>
#include <vector>

namespace kst {
namespace {

using kestrel::files::ExplodeResult;
using kestrel::files::ImplodeDictionary;
using kestrel::files::ImplodeLiteralMode;

// The input opened and the output created; otherwise the failure's exit code, reported.
int openBoth(const std::string& input, const std::string& output,
             std::unique_ptr<kestrel::os::InputFile>& in,
             std::unique_ptr<kestrel::os::OutputFile>& out) {
    auto fs = kestrel::os::makeNativeFileSystem();
    in = fs->openForReading(input);
    if (!in)
        return fail(input, "cannot open the file");
    out = fs->createForWriting(output);
    if (!out)
        return fail(output, "cannot create the file");
    return 0;
}

int implode(const std::string& input, const std::string& output, bool ascii, int dictionary,
            bool verbose) {
    std::unique_ptr<kestrel::os::InputFile> in;
    std::unique_ptr<kestrel::os::OutputFile> out;
    if (const int failed = openBoth(input, output, in, out))
        return failed;
    kestrel::files::ImplodeEncoder encoder(
        {ascii ? ImplodeLiteralMode::Ascii : ImplodeLiteralMode::Binary,
         static_cast<ImplodeDictionary>(dictionary)},
        [&out](const uint8_t* data, size_t size) {
            return out->write(data, static_cast<uint32_t>(size)) == static_cast<int32_t>(size);
        });
    std::vector<uint8_t> buffer(1 << 16);
    for (;;) {
        int32_t got = in->read(buffer.data(), static_cast<uint32_t>(buffer.size()));
        if (got < 0) {
            out.reset();
            return failAndRemove(output, input, "cannot read the file");
        }
        if (got == 0)
            break;
        if (!encoder.write(buffer.data(), static_cast<size_t>(got))) {
            out.reset();
            return failAndRemove(output, output, "cannot write the file");
        }
    }
    if (!encoder.finish()) {
        out.reset();
        return failAndRemove(output, output, "cannot write the file");
    }
    if (verbose)
        std::cerr << "kst: imploded " << input << " (" << encoder.bytesIn() << " bytes) into "
                  << output << " (" << encoder.bytesOut() << " bytes)\n";
    return 0;
}

struct ExplodeFiles {
    kestrel::os::InputFile* in;
    kestrel::os::OutputFile* out;
    uint64_t written = 0;
    bool readFailed = false;
    bool writeFailed = false;
};

std::string describe(ExplodeResult result, uint64_t written) {
    switch (result) {
    case ExplodeResult::BadDictionarySize:
        return "not implode data: the dictionary byte is not 4, 5 or 6";
    case ExplodeResult::BadLiteralMode:
        return "not implode data: the literal-mode byte is not 0 or 1";
    case ExplodeResult::InputTooShort:
        return "not implode data: 4 bytes or fewer";
    default:
        return "the compressed data is damaged or cut short (no end marker after " +
               std::to_string(written) + " bytes)";
    }
}

int explode(const std::string& input, const std::string& output, bool verbose) {
    std::unique_ptr<kestrel::os::InputFile> in;
    std::unique_ptr<kestrel::os::OutputFile> out;
    if (const int failed = openBoth(input, output, in, out))
        return failed;
    ExplodeFiles files{in.get(), out.get()};
    auto read = [](uint8_t* buffer, uint32_t* size, void* user) -> uint32_t {
        auto* f = static_cast<ExplodeFiles*>(user);
        if (f->readFailed || f->writeFailed)
            return 0;
        int32_t got = f->in->read(buffer, *size);
        if (got < 0) {
            f->readFailed = true;
            return 0;
        }
        return static_cast<uint32_t>(got);
    };
    auto write = [](const uint8_t* buffer, uint32_t* count, void* user) {
        auto* f = static_cast<ExplodeFiles*>(user);
        if (f->writeFailed || *count == 0)
            return;
        if (f->out->write(buffer, *count) != static_cast<int32_t>(*count))
            f->writeFailed = true;
        f->written += *count;
    };
    auto decoder = std::make_unique<kestrel::files::ExplodeDecoder>();
    ExplodeResult result = decoder->explode(read, write, &files);
    out.reset();
    if (files.readFailed)
        return failAndRemove(output, input, "cannot read the file");
    if (files.writeFailed)
        return failAndRemove(output, output, "cannot write the file");
    if (result != ExplodeResult::Done)
        return failAndRemove(output, input, describe(result, files.written));
    if (verbose)
        std::cerr << "kst: exploded " << input << " into " << output << " (" << files.written
                  << " bytes)\n";
    return 0;
}

} // namespace

void addCodecCommands(CLI::App& app, Session& session) {
    auto* implodeCommand =
        app.add_subcommand("implode", "Compress a file into a raw implode stream");
    auto implodeIn = std::make_shared<std::string>();
    auto implodeOut = std::make_shared<std::string>();
    auto ascii = std::make_shared<bool>(false);
    auto dictionary = std::make_shared<int>(4096);
    implodeCommand->add_option("input", *implodeIn, "The file to compress")->required();
    implodeCommand->add_option("output", *implodeOut, "The implode stream to write")->required();
    implodeCommand->add_flag("--ascii", *ascii, "Code literals for text (default: plain bytes)");
    implodeCommand
        ->add_option("--dict", *dictionary, "Window size in bytes: 1024, 2048 or 4096 (default)")
        ->check(CLI::IsMember({1024, 2048, 4096}));
    implodeCommand->callback([&session, implodeIn, implodeOut, ascii, dictionary] {
        session.exitCode = implode(*implodeIn, *implodeOut, *ascii, *dictionary, session.verbose);
    });

    auto* explodeCommand = app.add_subcommand("explode", "Decompress a raw implode stream");
    auto explodeIn = std::make_shared<std::string>();
    auto explodeOut = std::make_shared<std::string>();
    explodeCommand->add_option("input", *explodeIn, "The implode stream")->required();
    explodeCommand->add_option("output", *explodeOut, "The file to write")->required();
    explodeCommand->callback([&session, explodeIn, explodeOut] {
        session.exitCode = explode(*explodeIn, *explodeOut, session.verbose);
    });
}

} // namespace kst
