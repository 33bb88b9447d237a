// The volumes of a packed archive that came from the web: the first was delivered, each
// following one is fetched from beside the first's address when the reader moves on to it. No
// disk is asked for; a volume that cannot be fetched ends the archive.
#pragma once

#include "files/archive_volume_source.h"
#include "files/copy_pipeline.h"
#include "files/copy_services.h"

#include <string>

namespace kestrel::files {

class FetchedVolumes final : public ArchiveVolumeSource, public NextDiskPrompt {
  public:
    // firstPath: where the first volume was delivered; location: the address it came from.
    FetchedVolumes(PackedFileLayer& layer, RemoteFiles& remote, std::string firstPath,
                   std::string location)
        : layer_(layer), remote_(remote), firstPath_(std::move(firstPath)),
          location_(std::move(location)) {}

    std::unique_ptr<os::InputFile> openVolume(const std::string& path) override;
    bool askForNextDisk(bool firstRequest) override { return !firstRequest; }

  private:
    PackedFileLayer& layer_;
    RemoteFiles& remote_;
    std::string firstPath_;
    std::string location_;
};

} // namespace kestrel::files
