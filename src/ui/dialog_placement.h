// Where the installation's dialogs appear: centred across the plug-in area (the plug-in
// window's client rectangle on the screen). Prompt dialogs taller than the area hang from
// its bottom edge; popup messages sit above the middle, and once one has been shown the
// progress dialog goes 24 pixels below where it was.
#pragma once

#include "ui/geometry.h"

#include <cstdint>
#include <optional>

namespace kestrel::ui {

// The plug-in window's client rectangle, in screen pixels.
struct PluginArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

enum class DialogKind {
    Prompt,     // screens, destination and group dialogs
    Ask,        // ASK questions: always centred
    PopMessage, // popup messages
    Progress,
};

// Where the last popup message went, kept for the rest of the installation.
struct PopupPlace {
    int32_t top = 0;
    int32_t height = 0;
};

// The top-left corner, in screen pixels, of a dialog whose window is dialogSize. Placing a
// popup message records its place in lastPopup; the progress dialog goes below it.
Point placeDialog(DialogKind kind, PluginArea area, Size dialogSize,
                  std::optional<PopupPlace>& lastPopup);

} // namespace kestrel::ui
