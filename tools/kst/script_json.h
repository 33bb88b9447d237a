// What a script means, as JSON: the settings record, the prompt texts, destinations and
// questions, groups and their options, screens, and every item list, as the main pass left
// them (kst check --json).
#pragma once

#include "json_writer.h"
#include "script/deferred_block.h"
#include "script/install_script.h"
#include "script/plugin_globals.h"

#include <vector>

namespace kst {

void writeScriptJson(JsonWriter& json, const kestrel::script::InstallScript& script,
                     const kestrel::script::PluginGlobals& globals,
                     const std::vector<kestrel::script::DeferredBlock>& deferredBlocks);

} // namespace kst
