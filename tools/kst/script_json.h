// What a script means, as JSON: the settings record, the prompt texts, destinations and
// questions, groups and their options, screens, and every item list, as the main pass left
// them (kst check --json). Keys are the names the fields have in the code, in camelCase; the
// macros are keyed by their names as scripts write them ("$DEFAULTDIR$").
#pragma once

#include "json_fields.h"
#include "script/deferred_block.h"
#include "script/install_script.h"
#include "script/plugin_globals.h"

#include <vector>

namespace kst {

json::Json scriptJson(const kestrel::script::InstallScript& script,
                      const kestrel::script::PluginGlobals& globals,
                      const std::vector<kestrel::script::DeferredBlock>& deferredBlocks);

} // namespace kst
