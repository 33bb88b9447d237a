// What the installation sequence keeps while it carries out a script, between the calls that a
// download interrupts: where it stands in the installation list, and which of its once-only
// steps are behind it.
#pragma once

#include <cstdint>

namespace kestrel::host {

struct InstallationState {
    // The entry of the installation list (InstallScript::fileEntries) the sequence goes on
    // with. A call that waits for a download keeps it on the entry that asked, so that the
    // resumed call starts there and walks over nothing twice.
    int32_t nextFileIndex = 0;
    // The disk entry met last; -1 before the first.
    int32_t currentDiskIndex = -1;
    // The questions, the destination, the log's first lines and RENAME are done.
    bool questionsAsked = false;
    bool screenGraphicRequested = false;
    bool popupShown = false;
    // The installation has ended (ran to its end or aborted); later steps change nothing.
    bool finished = false;
};

} // namespace kestrel::host
