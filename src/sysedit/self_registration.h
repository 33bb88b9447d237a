// The self-registration phase: each REGSERVER component, in script order, after the INI edits.
#pragma once

#include "lexical/install_log_sink.h"
#include "lexical/macros.h"
#include "os/prompts.h"
#include "os/server_registration.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::sysedit {

// Follows the component's path in the message that tells of a failed registration.
inline constexpr std::string_view kNotRegistered = " has not been successfully registered.";

// The component's full path: its leading macro expanded, and a name that begins neither with
// a backslash nor with a drive taken in the destination directory.
std::string serverPath(const std::string& path, const lexical::MacroVariables& macros);

// Registers each component; a RegServer line records each one registered, and a message box
// (the path as its caption) tells of each one that was not. True when all were registered.
bool runSelfRegistrationPhase(const std::vector<std::string>& paths,
                              const lexical::MacroVariables& macros,
                              os::ServerRegistration& registration, os::Prompts& prompts,
                              lexical::InstallLogSink& log);

} // namespace kestrel::sysedit
