// explode_bench: decoding and encoding speed of our implode codec on a small corpus, side by
// side with zlib's inflate (deflate level 9) and memcpy on the same data.
//
//   explode_bench [--text FILE] [--runs N]
//
// Corpus, all in memory: text (FILE four times over; without --text, the repository's own
// documents), source code (the repository's sources), an executable (this program), random
// bytes and zeros. Every figure is the best of N runs (default 15 for decoding, a third of that
// for encoding); MB/s counts decoded (uncompressed) bytes, 10^6 a second.
#include "files/explode_decoder.h"
#include "files/implode_encoder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#ifdef KESTREL_HAVE_ZLIB
#include <zlib.h>
#endif

using namespace kestrel::files;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Concatenates the files under root whose extension is one of exts, in a stable order.
Bytes gather(const std::filesystem::path& root, std::initializer_list<const char*> exts) {
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->path().string().find("/build") != std::string::npos)
            continue;
        for (const char* ext : exts)
            if (it->is_regular_file() && it->path().extension() == ext)
                paths.push_back(it->path());
    }
    std::sort(paths.begin(), paths.end());
    Bytes all;
    for (const auto& path : paths) {
        Bytes b = readFile(path);
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

// Best time in seconds of `runs` calls.
double best(int runs, const std::function<void()>& work) {
    double fastest = 1e30;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    return fastest;
}

double mbps(size_t bytes, double seconds) {
    return seconds > 0 ? bytes / seconds / 1e6 : 0;
}

// Decodes from memory into a buffer of the right size, through the usual callbacks.
struct MemoryExplode {
    const Bytes* in;
    size_t readAt;
    uint8_t* out;
    size_t written;
    size_t capacity;
};

ExplodeResult explodeInto(ExplodeDecoder& decoder, const Bytes& packed, Bytes& out) {
    MemoryExplode m{&packed, 0, out.data(), 0, out.size()};
    ExplodeResult result = decoder.explode(
        [](uint8_t* buffer, uint32_t* size, void* user) -> uint32_t {
            auto* m = static_cast<MemoryExplode*>(user);
            size_t n = std::min<size_t>(*size, m->in->size() - m->readAt);
            std::memcpy(buffer, m->in->data() + m->readAt, n);
            m->readAt += n;
            return static_cast<uint32_t>(n);
        },
        [](const uint8_t* buffer, uint32_t* count, void* user) {
            auto* m = static_cast<MemoryExplode*>(user);
            size_t n = std::min<size_t>(*count, m->capacity - m->written);
            std::memcpy(m->out + m->written, buffer, n);
            m->written += n;
        },
        &m);
    out.resize(m.written);
    return result;
}

struct Corpus {
    std::string name;
    Bytes data;
};

} // namespace

int main(int argc, char** argv) {
    std::string textFile;
    int runs = 15;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--text" && i + 1 < argc)
            textFile = argv[++i];
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: explode_bench [--text FILE] [--runs N]\n");
            return 2;
        }
    }
    const std::filesystem::path source = KESTREL_SOURCE_DIR;
    std::vector<Corpus> corpus;
    Bytes text;
    if (!textFile.empty()) {
        Bytes once = readFile(textFile);
        if (once.empty()) {
            std::fprintf(stderr, "explode_bench: %s: cannot read the file\n", textFile.c_str());
            return 1;
        }
        for (int k = 0; k < 4; ++k)
            text.insert(text.end(), once.begin(), once.end());
    } else {
        text = gather(source, {".md", ".txt"});
    }
    corpus.push_back({"text", text});
    corpus.push_back({"source", gather(source / "src", {".cpp", ".h"})});
    corpus.push_back({"executable", readFile(std::filesystem::read_symlink("/proc/self/exe"))});
    Bytes random(1 << 20);
    std::mt19937_64 generator(1);
    for (auto& b : random)
        b = static_cast<uint8_t>(generator());
    corpus.push_back({"random", random});
    corpus.push_back({"zeros", Bytes(1 << 20, 0)});

    auto decoder = std::make_unique<ExplodeDecoder>();
    std::printf("Decoding, MB/s of output (best of %d runs); implode: binary literals, window "
                "4096; deflate: level 9\n\n",
                runs);
    std::printf("%-11s %9s %9s %9s %10s %10s %10s\n", "corpus", "bytes", "implode", "deflate",
                "explode", "inflate", "memcpy");
    for (const Corpus& c : corpus) {
        Bytes packed =
            implodeBuffer(c.data, {ImplodeLiteralMode::Binary, ImplodeDictionary::Size4096});
        Bytes out(c.data.size() + 1);
        if (explodeInto(*decoder, packed, out) != ExplodeResult::Done || out != c.data) {
            std::printf("%-11s: round trip FAILED\n", c.name.c_str());
            return 1;
        }
        double explodeTime = best(runs, [&] {
            out.resize(c.data.size() + 1);
            explodeInto(*decoder, packed, out);
        });
        double memcpyTime = best(runs, [&] {
            std::memcpy(out.data(), c.data.data(), c.data.size());
            asm volatile("" : : "r"(out.data()) : "memory");
        });
        std::string deflated = "-", inflateSpeed = "-";
#ifdef KESTREL_HAVE_ZLIB
        uLongf deflatedSize = compressBound(c.data.size());
        Bytes z(deflatedSize);
        compress2(z.data(), &deflatedSize, c.data.data(), c.data.size(), 9);
        z.resize(deflatedSize);
        double inflateTime = best(runs, [&] {
            uLongf size = c.data.size();
            uncompress(out.data(), &size, z.data(), z.size());
        });
        deflated = std::to_string(z.size());
        inflateSpeed = std::to_string(static_cast<long>(mbps(c.data.size(), inflateTime)));
#endif
        std::printf("%-11s %9zu %9zu %9s %10.0f %10s %10.0f\n", c.name.c_str(), c.data.size(),
                    packed.size(), deflated.c_str(), mbps(c.data.size(), explodeTime),
                    inflateSpeed.c_str(), mbps(c.data.size(), memcpyTime));
    }

    int encodeRuns = std::max(1, runs / 3);
    std::printf("\nEncoding: compressed bytes and MB/s of input (best of %d runs)\n\n", encodeRuns);
    std::printf("%-11s %9s", "corpus", "bytes");
    for (const char* mode : {"binary", "ascii"})
        for (int dict : {1024, 2048, 4096})
            std::printf(" %14s %4s", (std::string(mode) + "/" + std::to_string(dict)).c_str(),
                        "MB/s");
    std::printf("\n");
    for (const Corpus& c : corpus) {
        std::printf("%-11s %9zu", c.name.c_str(), c.data.size());
        for (auto mode : {ImplodeLiteralMode::Binary, ImplodeLiteralMode::Ascii})
            for (auto dict : {ImplodeDictionary::Size1024, ImplodeDictionary::Size2048,
                              ImplodeDictionary::Size4096}) {
                Bytes packed;
                double time = best(encodeRuns, [&] {
                    packed = implodeBuffer(c.data, {mode, dict});
                });
                Bytes back(c.data.size() + 1);
                if (explodeInto(*decoder, packed, back) != ExplodeResult::Done || back != c.data) {
                    std::printf("\n%s: round trip FAILED\n", c.name.c_str());
                    return 1;
                }
                std::printf(" %14zu %4.0f", packed.size(), mbps(c.data.size(), time));
            }
        std::printf("\n");
    }
    return 0;
}
