#include "files/archive_volume_source.h"

namespace kestrel::files {

std::unique_ptr<os::InputFile> PackedFileVolumes::openVolume(const std::string& path) {
    return layer_.open(path);
}

} // namespace kestrel::files
