#include "files/fetched_volumes.h"

#include "lexical/path_text.h"

namespace kestrel::files {

std::unique_ptr<os::InputFile> FetchedVolumes::openVolume(const std::string& path) {
    if (path == firstPath_)
        return layer_.open(path);
    // The reader names a next volume beside the delivered one; it lives beside the address.
    const std::string address =
        std::string(lexical::directoryPart(location_)) + std::string(lexical::fileNamePart(path));
    const std::optional<std::string> local = remote_.fetchNow(address);
    if (!local)
        return nullptr;
    return layer_.open(*local);
}

} // namespace kestrel::files
