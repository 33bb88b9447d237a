#include "host/startup.h"

#include <algorithm>

namespace kestrel::host {

std::string baseUrlOf(std::string_view scriptUrl) {
    const size_t cut = scriptUrl.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? scriptUrl : scriptUrl.substr(0, cut));
}

std::string serverRootOf(std::string_view baseUrl) {
    size_t at = baseUrl.find('/');
    if (at == std::string_view::npos)
        return std::string(baseUrl);
    at = baseUrl.find_first_not_of('/', at);
    const size_t end = at == std::string_view::npos ? at : baseUrl.find('/', at);
    return std::string(end == std::string_view::npos ? baseUrl : baseUrl.substr(0, end));
}

std::string browserAddress(std::string_view location) {
    std::string address(location);
    std::replace(address.begin(), address.end(), '\\', '/');
    return address;
}

std::string relativeAddress(std::string_view baseUrl, std::string_view relativePath) {
    return browserAddress(std::string(baseUrl) + "/" + std::string(relativePath));
}

std::string readmeCommand(std::string_view readmeFile, std::string_view destination) {
    const auto at = [&](size_t i) { return i < readmeFile.size() ? readmeFile[i] : '\0'; };
    const bool absolute = at(0) == '\\' || at(1) == ':' || (at(0) == '"' && at(1) == '\\') ||
                          (at(0) == '"' && at(2) == ':');
    std::string command = "notepad ";
    if (!absolute) {
        command += destination;
        command += '\\';
    }
    command += readmeFile;
    return command;
}

} // namespace kestrel::host
