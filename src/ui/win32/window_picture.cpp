#include "ui/win32/window_picture.h"

#include "os/read_fully.h"
#include "ui/picture_placement.h"

#include <span>

namespace kestrel::ui::win32 {

namespace {

Palette makePalette(const std::vector<Colour>& colours) {
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(colours.size());
    for (size_t i = 0; i < colours.size(); ++i)
        palette->palPalEntry[i] =
            PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0};
    return Palette(CreatePalette(palette));
}

} // namespace

void WindowPicture::draw(HDC dc, Size client, int32_t positionCode) const {
    const PicturePlacement placement = placePicture(size(), client, positionCode);
    if (placement.empty())
        return;
    const void* header = picture_.dib.data();
    UINT usage = DIB_RGB_COLORS;
    HPALETTE previous = nullptr;
    if (picture_.needsPalette()) {
        if (!palette_.valid())
            palette_ = makePalette(picture_.colours);
        if (indexHeader_.empty())
            indexHeader_ = paletteIndexHeader(picture_);
        if (palette_.valid()) {
            previous = SelectPalette(dc, palette_.get(), FALSE);
            RealizePalette(dc);
            header = indexHeader_.data();
            usage = DIB_PAL_COLORS;
        }
    }
    const auto* info = static_cast<const BITMAPINFO*>(header);
    const Rect& source = placement.source;
    // Rows are stored bottom row first, and the source rectangle's y counts from there.
    const int32_t sourceY = picture_.height - source.bottom;
    // A stretched picture keeps its colours rather than mixing rows into black.
    const int previousStretch = placement.stretched() ? SetStretchBltMode(dc, COLORONCOLOR) : 0;
    const int32_t stepX = placement.destination.width();
    const int32_t stepY = placement.destination.height();
    for (int32_t row = 0; row < placement.rows; ++row) {
        for (int32_t column = 0; column < placement.columns; ++column) {
            StretchDIBits(dc, placement.destination.left + column * stepX,
                          placement.destination.top + row * stepY, stepX, stepY, source.left,
                          sourceY, source.width(), source.height(), picture_.bits().data(), info,
                          usage, SRCCOPY);
        }
    }
    if (previousStretch)
        SetStretchBltMode(dc, previousStretch);
    if (previous)
        SelectPalette(dc, previous, FALSE);
}

std::unique_ptr<WindowPicture> loadWindowPicture(os::FileSystem& files, const std::string& path) {
    const std::unique_ptr<os::InputFile> file = files.openForReading(path);
    if (!file)
        return nullptr;
    const int64_t size = file->seek(0, os::SeekOrigin::End);
    if (size < 0 || size > kMaxPictureFileSize || file->seek(0, os::SeekOrigin::Start) != 0)
        return nullptr;
    const std::optional<std::string> bytes = os::readToEnd(*file);
    if (!bytes)
        return nullptr;
    std::optional<ScreenPicture> picture = loadScreenPicture(
        std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
    if (!picture)
        return nullptr;
    return std::make_unique<WindowPicture>(std::move(*picture));
}

} // namespace kestrel::ui::win32
