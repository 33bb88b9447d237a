// What the installation sequence keeps while it carries out a script, between the calls that a
// download interrupts: where it stands in the installation list. The controller adds what else
// it must remember from one call to the next.
#pragma once

#include <cstdint>

namespace kestrel::host {

struct InstallationState {
    // The entry of the installation list (InstallScript::fileEntries) the sequence goes on with.
    int32_t nextFileIndex = 0;
};

} // namespace kestrel::host
