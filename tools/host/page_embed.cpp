#include "page_embed.h"

#include "ascii_case.h"
#include "url_text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kestrel::host {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

std::string decodeEntities(std::string_view text) {
    static const std::pair<std::string_view, char> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t semi = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semi == std::string_view::npos || semi - i > 8) {
            out += text[i];
            continue;
        }
        std::string_view name = text.substr(i + 1, semi - i - 1);
        bool done = false;
        if (name.size() > 1 && name[0] == '#') {
            bool hex = name[1] == 'x' || name[1] == 'X';
            long code =
                std::strtol(std::string(name.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10);
            if (code > 0 && code < 256) {
                out += char(code);
                done = true;
            }
        }
        for (const auto& [entity, c] : named) {
            if (!done && equalsNoCase(name, entity)) {
                out += c;
                done = true;
            }
        }
        if (done) {
            i = semi;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Reads the attributes of a tag from just after its name to its closing '>'.
Attributes readAttributes(std::string_view tag) {
    Attributes attributes;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < tag.size() && (std::isspace((unsigned char)tag[i]) || tag[i] == '/')) {
            ++i;
        }
    };
    while (true) {
        skipBlanks();
        if (i >= tag.size()) {
            return attributes;
        }
        size_t nameStart = i;
        while (i < tag.size() && !std::isspace((unsigned char)tag[i]) && tag[i] != '=' &&
               tag[i] != '/') {
            ++i;
        }
        std::string name = asciiLower(tag.substr(nameStart, i - nameStart));
        while (i < tag.size() && std::isspace((unsigned char)tag[i])) {
            ++i;
        }
        std::string value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && std::isspace((unsigned char)tag[i])) {
                ++i;
            }
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                size_t close = tag.find(tag[i], i + 1);
                close = close == std::string_view::npos ? tag.size() : close;
                value = decodeEntities(tag.substr(i + 1, close - i - 1));
                i = close + 1;
            } else {
                size_t start = i;
                while (i < tag.size() && !std::isspace((unsigned char)tag[i])) {
                    ++i;
                }
                value = decodeEntities(tag.substr(start, i - start));
            }
        }
        if (!name.empty()) {
            attributes.emplace_back(std::move(name), std::move(value));
        }
    }
}

const std::string* attribute(const Attributes& attributes, std::string_view name) {
    for (const auto& [key, value] : attributes) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

struct Tag {
    std::string name; // lower case
    Attributes attributes;
};

// Walks the page's tags in order, passing over comments, scripts and styles.
template <typename Visit> void forEachTag(std::string_view html, Visit visit) {
    size_t i = 0;
    while ((i = html.find('<', i)) != std::string_view::npos) {
        if (html.substr(i, 4) == "<!--") {
            size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        size_t end = i + 1;
        char quote = 0;
        while (end < html.size() && (quote || html[end] != '>')) {
            if (quote && html[end] == quote) {
                quote = 0;
            } else if (!quote && (html[end] == '"' || html[end] == '\'')) {
                quote = html[end];
            }
            ++end;
        }
        std::string_view body = html.substr(i + 1, end - i - 1);
        size_t nameEnd = 0;
        while (nameEnd < body.size() && !std::isspace((unsigned char)body[nameEnd]) &&
               body[nameEnd] != '/') {
            ++nameEnd;
        }
        Tag tag{asciiLower(body.substr(0, nameEnd)), readAttributes(body.substr(nameEnd))};
        i = end;
        if (tag.name == "script" || tag.name == "style") {
            size_t close = html.find("</", i);
            i = close == std::string_view::npos ? html.size() : close;
        }
        if (!visit(tag)) {
            return;
        }
    }
}

} // namespace

bool looksLikeHtml(std::string_view bytes) {
    size_t start = bytes.find_first_not_of(" \t\r\n");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        start = bytes.find_first_not_of(" \t\r\n", 3);
    }
    return start != std::string_view::npos && bytes[start] == '<';
}

std::optional<EmbeddedScript> findEmbeddedScript(std::string_view html, std::string_view pageUrl,
                                                 std::string_view mimeType) {
    std::string base(pageUrl);
    std::optional<EmbeddedScript> found;
    forEachTag(html, [&](const Tag& tag) {
        if (tag.name == "base") {
            if (const std::string* href = attribute(tag.attributes, "href")) {
                base = resolveUrl(pageUrl, *href);
            }
            return true;
        }
        if (tag.name != "embed" && tag.name != "object") {
            return true;
        }
        const std::string* source = attribute(tag.attributes, tag.name == "embed" ? "src" : "data");
        const std::string* type = attribute(tag.attributes, "type");
        if (source == nullptr || source->empty()) {
            return true;
        }
        std::string path = source->substr(0, source->find_first_of("?#"));
        if ((type && equalsNoCase(*type, mimeType)) || endsWithNoCase(path, ".kst")) {
            found = EmbeddedScript{resolveUrl(base, *source), tag.attributes};
            return false;
        }
        return true;
    });
    return found;
}

} // namespace kestrel::host
