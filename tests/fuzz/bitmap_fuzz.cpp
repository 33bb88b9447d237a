// Feeds arbitrary bytes to the screen picture loader. Every picture it accepts must carry
// rows that lie inside the input, start where its headers say and match the input byte for
// byte, behind a header that describes them exactly.
#include "ui/screen_picture.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

using namespace kestrel;

namespace {

uint32_t at32(const uint8_t* data, size_t at) {
    return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
           uint32_t(data[at + 3]) << 24;
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto picture = ui::loadScreenPicture(std::span<const uint8_t>(data, size));
    if (!picture)
        return 0;

    const uint64_t stride = (uint64_t(picture->bitsPerPixel) * picture->width + 31) / 32 * 4;
    const uint64_t rows = stride * uint64_t(picture->height);
    check(picture->width > 0 && picture->height > 0 && picture->rowStride == stride);
    const uint64_t tableStart = 14 + uint64_t(at32(data, 14));
    const uint64_t tableEnd = tableStart + 4 * picture->colours.size();
    const uint64_t offset = at32(data, 10) != 0 ? at32(data, 10) : tableEnd;
    check(tableEnd <= size && offset >= tableEnd && offset + rows <= size);
    check(picture->bitsOffset == 40 + 4 * picture->colours.size());
    check(picture->dib.size() == picture->bitsOffset + rows);
    check(std::memcmp(picture->bits().data(), data + offset, size_t(rows)) == 0);
    check(at32(picture->dib.data(), 0) == 40 && at32(picture->dib.data(), 20) == rows &&
          at32(picture->dib.data(), 32) == picture->colours.size());
    if (picture->bitsPerPixel <= 8)
        check(picture->colours.size() <= (size_t(1) << picture->bitsPerPixel));
    for (size_t i = 0; i < picture->colours.size(); ++i)
        check(picture->colours[i].blue == data[tableStart + 4 * i]);
    check(ui::paletteIndexHeader(*picture).size() == 40 + 2 * picture->colours.size());
    return 0;
}
