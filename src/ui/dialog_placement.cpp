#include "ui/dialog_placement.h"

namespace kestrel::ui {

namespace {

// A popup goes about 62 pixels above centre, (room - 244) / 2 + 60, leaving space below it
// for the progress dialog.
constexpr int32_t kPopupLift = 244;
constexpr int32_t kPopupDrop = 60;
constexpr int32_t kProgressGapBelowPopup = 24;

} // namespace

Point placeDialog(DialogKind kind, PluginArea area, Size dialogSize,
                  std::optional<PopupPlace>& lastPopup) {
    const int32_t w = dialogSize.width;
    const int32_t h = dialogSize.height;
    const int32_t x = area.left + (area.width - w) / 2;
    const int32_t centredY = area.top + (area.height - h) / 2;
    switch (kind) {
    case DialogKind::Prompt:
        return Point{x, h <= area.height ? centredY : area.top + area.height - h};
    case DialogKind::Ask:
        return Point{x, centredY};
    case DialogKind::PopMessage: {
        const int32_t y = area.top + (area.height - h - kPopupLift) / 2 + kPopupDrop;
        lastPopup = PopupPlace{y, h};
        return Point{x, y};
    }
    case DialogKind::Progress:
        if (lastPopup)
            return Point{x, lastPopup->top + lastPopup->height + kProgressGapBelowPopup};
        return Point{x, centredY};
    }
    return Point{x, centredY};
}

} // namespace kestrel::ui
