// The PE layout, as far as it is read here:
//   DOS header "MZ", at 0x3C the offset of "PE\0\0"; then the 20-byte file header (machine,
//   section count, optional header size, characteristics with 0x2000 for a DLL); the optional
//   header (magic 0x10B for 32-bit, 0x20B for 64-bit images) ending in the data directories
//   (0 exports, 2 resources: an address and a size each); then 40-byte section headers that
//   map virtual addresses to file offsets.
//   Exports: a 40-byte directory whose name count sits at +24 and name table address at +32.
//   Resources: a three-level tree (type, name, language) of 16-byte directories followed by
//   8-byte entries (id or name, and an offset whose high bit marks a subdirectory); leaves
//   are 16-byte data entries holding a virtual address and a size.
//   Version information: nested blocks of (length, value length, type, UTF-16 key, value,
//   children), each part aligned to 4 bytes from the start of the resource.
#include "support/pe_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace kestrel::test {
namespace {

constexpr uint16_t kRtDialog = 5;
constexpr uint16_t kRtVersion = 16;
constexpr uint16_t kUsEnglish = 0x409;
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;

class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    bool fits(size_t offset, size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    uint16_t u16(size_t offset) const {
        if (!fits(offset, 2))
            return 0;
        return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    }
    uint32_t u32(size_t offset) const { return u16(offset) | uint32_t{u16(offset + 2)} << 16; }
    // A zero-terminated ASCII text that must end inside the file.
    std::optional<std::string> text(size_t offset) const {
        std::string out;
        for (size_t i = offset; i < bytes_.size(); ++i) {
            if (bytes_[i] == 0)
                return out;
            out += static_cast<char>(bytes_[i]);
        }
        return std::nullopt;
    }

  private:
    const std::vector<uint8_t>& bytes_;
};

struct Section {
    uint32_t address = 0;
    uint32_t virtualSize = 0;
    uint32_t rawOffset = 0;
    uint32_t rawSize = 0;
};

struct Image {
    const Reader& in;
    std::vector<Section> sections;

    // The file offset of size bytes at a virtual address, when they lie in one section's data.
    std::optional<size_t> offsetOf(uint32_t address, size_t size) const {
        for (const Section& s : sections) {
            const uint64_t start = s.address;
            const uint64_t end = start + std::max(s.virtualSize, s.rawSize);
            if (address < start || address >= end)
                continue;
            const uint64_t into = address - start;
            if (into + size > s.rawSize || !in.fits(s.rawOffset + into, size))
                return std::nullopt;
            return static_cast<size_t>(s.rawOffset + into);
        }
        return std::nullopt;
    }
};

bool isUndecorated(const std::string& name) {
    return !name.empty() && name[0] != '_' && name.find_first_of("@?") == std::string::npos;
}

bool readExports(const Image& image, uint32_t address, std::vector<PeExport>& out) {
    const auto directory = image.offsetOf(address, 40);
    if (!directory)
        return false;
    const uint32_t count = image.in.u32(*directory + 24);
    const auto names = image.offsetOf(image.in.u32(*directory + 32), size_t{count} * 4);
    if (!names)
        return count == 0;
    for (uint32_t i = 0; i < count; ++i) {
        const auto at = image.offsetOf(image.in.u32(*names + 4 * i), 1);
        const auto name = at ? image.in.text(*at) : std::nullopt;
        if (!name)
            return false;
        out.push_back({*name, isUndecorated(*name)});
    }
    return true;
}

struct ResourceEntry {
    bool numbered = false;
    uint16_t id = 0;
    bool directory = false;
    uint32_t offset = 0; // from the start of the resource tree
};

// The entries of the resource directory at offset (from the tree's start).
std::optional<std::vector<ResourceEntry>> resourceEntries(const Reader& in, size_t tree,
                                                          uint32_t offset) {
    const size_t at = tree + offset;
    if (!in.fits(at, 16))
        return std::nullopt;
    const size_t count = size_t{in.u16(at + 12)} + in.u16(at + 14);
    if (!in.fits(at + 16, count * 8))
        return std::nullopt;
    std::vector<ResourceEntry> entries;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t name = in.u32(at + 16 + 8 * i);
        const uint32_t target = in.u32(at + 20 + 8 * i);
        entries.push_back({(name & 0x80000000u) == 0, static_cast<uint16_t>(name & 0xFFFF),
                           (target & 0x80000000u) != 0, target & 0x7FFFFFFFu});
    }
    return entries;
}

std::string utf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// One block of version information, within [start, end) of the file.
struct VersionBlock {
    size_t start = 0;
    size_t end = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    std::u16string key;
    size_t value = 0;
};

class VersionParser {
  public:
    VersionParser(const Reader& in, size_t base, size_t end) : in_(in), base_(base), end_(end) {}

    std::optional<VersionBlock> block(size_t at, size_t limit) const {
        const uint16_t length = in_.u16(at);
        if (length < 6 || at + length > limit)
            return std::nullopt;
        VersionBlock b{at, at + length, in_.u16(at + 2), in_.u16(at + 4), {}, 0};
        size_t p = at + 6;
        for (; p + 2 <= b.end && in_.u16(p) != 0; p += 2)
            b.key += static_cast<char16_t>(in_.u16(p));
        if (p + 2 > b.end)
            return std::nullopt;
        b.value = aligned(p + 2);
        return b;
    }

    // The block's children: they follow its value.
    std::optional<std::vector<VersionBlock>> children(const VersionBlock& parent) const {
        const size_t valueBytes =
            parent.type == 1 ? size_t{parent.valueLength} * 2 : parent.valueLength;
        std::vector<VersionBlock> found;
        for (size_t p = aligned(parent.value + valueBytes); p + 6 <= parent.end;) {
            auto child = block(p, parent.end);
            if (!child)
                return std::nullopt;
            found.push_back(*child);
            p = aligned(child->end);
        }
        return found;
    }

    // A text value runs to its terminator or to the end of its block, whichever comes first:
    // compilers disagree on what the value length counts.
    std::string textValue(const VersionBlock& b) const {
        std::u16string text;
        for (size_t p = b.value; p + 2 <= b.end && in_.u16(p) != 0; p += 2)
            text += static_cast<char16_t>(in_.u16(p));
        return utf8(text);
    }

    size_t end() const { return end_; }

  private:
    size_t aligned(size_t at) const { return base_ + ((at - base_ + 3) & ~size_t{3}); }

    const Reader& in_;
    size_t base_;
    size_t end_;
};

bool readStringTables(const VersionParser& parser, const VersionBlock& fileInfo, PeImage& image) {
    const auto tables = parser.children(fileInfo);
    if (!tables)
        return false;
    for (const VersionBlock& table : *tables) {
        const auto strings = parser.children(table);
        if (!strings)
            return false;
        // Table keys are hexadecimal; files write them in either case.
        std::string key = utf8(table.key);
        std::transform(key.begin(), key.end(), key.begin(),
                       [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 32) : c; });
        auto& values = image.versionStrings[key];
        for (const VersionBlock& s : *strings)
            values[utf8(s.key)] = parser.textValue(s);
    }
    return true;
}

bool readVersion(const Reader& in, size_t at, size_t size, PeImage& image) {
    const VersionParser parser(in, at, at + size);
    const auto root = parser.block(at, parser.end());
    if (!root || root->key != u"VS_VERSION_INFO")
        return false;
    if (root->valueLength >= 52 && root->value + 52 <= root->end &&
        in.u32(root->value) == kFixedInfoSignature) {
        const uint32_t high = in.u32(root->value + 8);
        const uint32_t low = in.u32(root->value + 12);
        image.fileVersion =
            PeVersion{static_cast<uint16_t>(high >> 16), static_cast<uint16_t>(high),
                      static_cast<uint16_t>(low >> 16), static_cast<uint16_t>(low)};
    }
    const auto parts = parser.children(*root);
    if (!parts)
        return false;
    for (const VersionBlock& part : *parts) {
        if (part.key == u"StringFileInfo" && !readStringTables(parser, part, image))
            return false;
    }
    return true;
}

// The version information's leaf: its first name, in US English when the file holds several
// languages (as a system in that language would read it), else in the first one.
std::optional<ResourceEntry> versionLeaf(const Reader& in, size_t tree, const ResourceEntry& type) {
    const auto names = resourceEntries(in, tree, type.offset);
    if (!names || names->empty() || !names->front().directory)
        return std::nullopt;
    const auto languages = resourceEntries(in, tree, names->front().offset);
    if (!languages || languages->empty())
        return std::nullopt;
    ResourceEntry leaf = languages->front();
    for (const ResourceEntry& language : *languages) {
        if (language.numbered && language.id == kUsEnglish)
            leaf = language;
    }
    if (leaf.directory)
        return std::nullopt;
    return leaf;
}

bool readResources(const Image& image, uint32_t address, PeImage& out) {
    const auto tree = image.offsetOf(address, 16);
    if (!tree)
        return false;
    const auto types = resourceEntries(image.in, *tree, 0);
    if (!types)
        return false;
    for (const ResourceEntry& type : *types) {
        if (!type.numbered || !type.directory)
            continue;
        if (type.id == kRtDialog) {
            const auto names = resourceEntries(image.in, *tree, type.offset);
            if (!names)
                return false;
            for (const ResourceEntry& name : *names) {
                if (name.numbered)
                    out.dialogIds.push_back(name.id);
            }
        } else if (type.id == kRtVersion) {
            const auto leaf = versionLeaf(image.in, *tree, type);
            if (!leaf || !image.in.fits(*tree + leaf->offset, 16))
                return false;
            const uint32_t size = image.in.u32(*tree + leaf->offset + 4);
            const auto data = image.offsetOf(image.in.u32(*tree + leaf->offset), size);
            if (!data || !readVersion(image.in, *data, size, out))
                return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> PeImage::versionString(const std::string& table,
                                                  const std::string& name) const {
    const auto t = versionStrings.find(table);
    if (t == versionStrings.end())
        return std::nullopt;
    const auto v = t->second.find(name);
    if (v == t->second.end())
        return std::nullopt;
    return v->second;
}

const PeExport* PeImage::findExport(const std::string& name) const {
    for (const PeExport& e : exports) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

std::optional<PeImage> readPeImage(const std::vector<uint8_t>& bytes, std::string& error) {
    const Reader in(bytes);
    if (in.u16(0) != 0x5A4D) {
        error = "no MZ header";
        return std::nullopt;
    }
    const size_t pe = in.u32(0x3C);
    if (!in.fits(pe, 24) || in.u32(pe) != 0x00004550) {
        error = "no PE signature";
        return std::nullopt;
    }
    PeImage out;
    out.machine = in.u16(pe + 4);
    out.isDll = (in.u16(pe + 22) & 0x2000) != 0;
    const size_t optional = pe + 24;
    const size_t optionalSize = in.u16(pe + 20);
    const uint16_t magic = in.u16(optional);
    if ((magic != 0x10B && magic != 0x20B) || !in.fits(optional, optionalSize)) {
        error = "bad optional header";
        return std::nullopt;
    }
    const size_t directories = optional + (magic == 0x10B ? 96 : 112);
    const uint32_t directoryCount = in.u32(directories - 4);
    const auto directory = [&](uint32_t index) -> uint32_t {
        const size_t at = directories + 8 * size_t{index};
        if (index >= directoryCount || at + 8 > optional + optionalSize)
            return 0;
        return in.u32(at);
    };

    Image image{in, {}};
    const size_t sectionTable = optional + optionalSize;
    const size_t sectionCount = in.u16(pe + 6);
    if (!in.fits(sectionTable, sectionCount * 40)) {
        error = "section table outside the file";
        return std::nullopt;
    }
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = sectionTable + 40 * i;
        image.sections.push_back(
            {in.u32(at + 12), in.u32(at + 8), in.u32(at + 20), in.u32(at + 16)});
    }

    if (const uint32_t exports = directory(0);
        exports && !readExports(image, exports, out.exports)) {
        error = "damaged export table";
        return std::nullopt;
    }
    if (const uint32_t resources = directory(2);
        resources && !readResources(image, resources, out)) {
        error = "damaged resources";
        return std::nullopt;
    }
    return out;
}

std::optional<PeImage> readPeFile(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    return readPeImage(bytes, error);
}

} // namespace kestrel::test
