#include "files/archive_volume_source.h"

namespace kestrel::files {
namespace {

class PackedFileVolume final : public os::InputFile {
  public:
    explicit PackedFileVolume(std::unique_ptr<PackedFile> file) : file_(std::move(file)) {}
    int32_t read(void* buffer, uint32_t count) override { return file_->read(buffer, count); }
    int64_t seek(int64_t offset, os::SeekOrigin origin) override {
        return file_->seek(offset, origin);
    }
    int64_t tell() override { return file_->tell(); }

  private:
    std::unique_ptr<PackedFile> file_;
};

} // namespace

std::unique_ptr<os::InputFile> PackedFileVolumes::openVolume(const std::string& path) {
    std::unique_ptr<PackedFile> file = layer_.open(path);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<PackedFileVolume>(std::move(file));
}

} // namespace kestrel::files
