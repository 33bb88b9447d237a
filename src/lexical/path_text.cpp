#include "lexical/path_text.h"

namespace kestrel::lexical {

std::string_view directoryPart(std::string_view path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string_view fileNamePart(std::string_view path) {
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string parentDirectory(std::string_view path) {
    const size_t cut = path.rfind('\\');
    if (cut == std::string_view::npos)
        return {};
    return std::string(path.substr(0, cut == 2 ? 3 : cut));
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (joined.empty() || joined.back() != '\\')
        joined += '\\';
    joined += name;
    return joined;
}

std::string pathInDirectory(std::string_view path, std::string_view directory) {
    if ((!path.empty() && path[0] == '\\') || (path.size() > 1 && path[1] == ':'))
        return std::string(path);
    return joinPath(directory, path);
}

} // namespace kestrel::lexical
