// Where the archive reader opens its volumes. Installation reads them through the packed
// file layer, like every other source file; anything that can open a file by path will do.
#pragma once

#include "files/packed_file.h"
#include "os/file_system.h"

#include <memory>
#include <string>

namespace kestrel::files {

class ArchiveVolumeSource {
  public:
    virtual ~ArchiveVolumeSource() = default;
    // The volume at `path`, or none when it cannot be opened.
    virtual std::unique_ptr<os::InputFile> openVolume(const std::string& path) = 0;
};

// Volumes through the packed file layer: a volume may also be a member of the container.
class PackedFileVolumes final : public ArchiveVolumeSource {
  public:
    explicit PackedFileVolumes(PackedFileLayer& layer) : layer_(layer) {}
    std::unique_ptr<os::InputFile> openVolume(const std::string& path) override;

  private:
    PackedFileLayer& layer_;
};

} // namespace kestrel::files
