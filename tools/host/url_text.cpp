#include "url_text.h"

#include "ascii_case.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace kestrel::host {
namespace {

// Removes "." and ".." segments from an absolute path ("/a/b/../c" -> "/a/c").
std::string removeDotSegments(std::string_view path) {
    std::vector<std::string> segments;
    size_t start = 1;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        std::string_view segment = path.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        bool last = slash == std::string_view::npos;
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
            if (last) {
                segments.emplace_back();
            }
        } else if (segment == ".") {
            if (last) {
                segments.emplace_back();
            }
        } else {
            segments.emplace_back(segment);
        }
        if (last) {
            break;
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& segment : segments) {
        out += '/';
        out += segment;
    }
    return out.empty() ? "/" : out;
}

struct UrlParts {
    std::string scheme;    // "http"
    std::string authority; // "host:port" (may be empty for file:)
    std::string path;      // "/dir/file"
    std::string rest;      // "?query#fragment"
};

UrlParts splitUrl(std::string_view url) {
    UrlParts parts;
    size_t colon = url.find(':');
    parts.scheme = asciiLower(url.substr(0, colon));
    std::string_view after = url.substr(colon + 1);
    if (after.substr(0, 2) == "//") {
        size_t end = after.find_first_of("/?#", 2);
        parts.authority = std::string(
            after.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2));
        after = end == std::string_view::npos ? std::string_view() : after.substr(end);
    }
    size_t rest = after.find_first_of("?#");
    parts.path = std::string(after.substr(0, rest));
    if (rest != std::string_view::npos) {
        parts.rest = std::string(after.substr(rest));
    }
    if (parts.path.empty() || parts.path[0] != '/') {
        parts.path.insert(0, "/");
    }
    return parts;
}

} // namespace

std::string urlScheme(std::string_view url) {
    size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon < 2) {
        return {};
    }
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = url[i];
        bool ok =
            std::isalpha(c) || (i > 0 && (std::isdigit(c) || c == '+' || c == '-' || c == '.'));
        if (!ok) {
            return {};
        }
    }
    return asciiLower(url.substr(0, colon));
}

bool isWebUrl(std::string_view url) {
    std::string scheme = urlScheme(url);
    return scheme == "http" || scheme == "https";
}

std::string resolveUrl(std::string_view base, std::string_view reference) {
    std::string ref(reference);
    std::replace(ref.begin(), ref.end(), '\\', '/');
    if (!urlScheme(ref).empty()) {
        return ref;
    }
    UrlParts parts = splitUrl(base);
    std::string prefix = parts.scheme + "://" + parts.authority;
    if (ref.substr(0, 2) == "//") {
        return parts.scheme + ":" + ref;
    }
    if (ref.empty()) {
        return prefix + parts.path + parts.rest;
    }
    if (ref[0] == '#') {
        return prefix + parts.path + parts.rest.substr(0, parts.rest.find('#')) + ref;
    }
    if (ref[0] == '?') {
        return prefix + parts.path + ref;
    }
    size_t rest = ref.find_first_of("?#");
    std::string refPath = ref.substr(0, rest);
    std::string refRest = rest == std::string::npos ? std::string() : ref.substr(rest);
    std::string merged =
        refPath[0] == '/' ? refPath : parts.path.substr(0, parts.path.rfind('/') + 1) + refPath;
    return prefix + removeDotSegments(merged) + refRest;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit((unsigned char)text[i + 1]) &&
            std::isxdigit((unsigned char)text[i + 2])) {
            out += char(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> fileUrlToPath(std::string_view url) {
    if (urlScheme(url) != "file") {
        return std::nullopt;
    }
    UrlParts parts = splitUrl(url);
    std::string path = percentDecode(parts.path);
    std::replace(path.begin(), path.end(), '/', '\\');
    std::string host = asciiLower(parts.authority);
    if (!host.empty() && host != "localhost") {
        return "\\\\" + parts.authority + path;
    }
    // "\C:\dir" -> "C:\dir"; a path without a drive stays rooted on the current drive.
    if (path.size() >= 3 && path[0] == '\\' && std::isalpha((unsigned char)path[1]) &&
        (path[2] == ':' || path[2] == '|')) {
        path.erase(0, 1);
        path[1] = ':';
    }
    return path;
}

std::string pathToFileUrl(std::string_view absolutePath) {
    static const char* hex = "0123456789ABCDEF";
    std::string out = "file:///";
    std::string_view path = absolutePath;
    if (path.substr(0, 2) == "\\\\") {
        out = "file://";
        path.remove_prefix(2);
    }
    for (unsigned char c : path) {
        if (c == '\\') {
            out += '/';
        } else if (std::isalnum(c) ||
                   std::string_view("-._~/:!$&'()*+,;=@").find(char(c)) != std::string_view::npos) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string fileNameFromUrl(std::string_view url) {
    std::string_view path = url.substr(0, url.find_first_of("?#"));
    size_t slash = path.find_last_of("/\\");
    std::string name =
        percentDecode(slash == std::string_view::npos ? path : path.substr(slash + 1));
    std::string safe;
    for (unsigned char c : name) {
        bool forbidden =
            c < 32 || std::string_view("\\/:*?\"<>|").find(char(c)) != std::string_view::npos;
        safe += forbidden ? '_' : char(c);
    }
    // Trailing dots and blanks vanish from Windows names; a name of dots is no name.
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) {
        safe.pop_back();
    }
    return safe.empty() ? "download" : safe;
}

} // namespace kestrel::host
