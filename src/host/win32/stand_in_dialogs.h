// Until the installer's own dialogs are linked: questions cannot be asked (they count as
// cancelled), progress is not shown, and text is measured by the system font's average width.
#pragma once

#include "host/installer_dialogs.h"
#include "ui/text_measure.h"

#include <memory>

namespace kestrel::host::win32 {

std::unique_ptr<InstallerDialogs> makeStandInDialogs();
std::unique_ptr<ui::TextMeasure> makeStandInMeasure();

} // namespace kestrel::host::win32
