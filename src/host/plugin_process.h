// What the plug-in keeps for as long as it is loaded, shared by every instance in the browser
// process: the values scripts set for later installations, the last script's key, which
// instance's installation is running (only one runs at a time), and how the last one ended.
#pragma once

#include "host/npapi.h"
#include "script/plugin_globals.h"
#include "script/script_codec.h"

namespace kestrel::host {

class PluginSession;

struct PluginProcess {
    script::PluginGlobals globals;
    // Kept from the last script whose header could be read.
    script::ScriptKey scriptKey;
    // The session whose installation runs now; null when none does.
    const PluginSession* running = nullptr;
    KestrelOutcome outcome = kOutcomeNotRun;
};

} // namespace kestrel::host
