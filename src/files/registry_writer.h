// Writing registry blocks, after the files are installed, in script order. Each block's key is
// created level by level (every level it creates is recorded, for the uninstall's REGKEY
// lines), deleted (never with its subkeys: the path comes from a web page) or opened when it
// exists; then its values are written in order. A value operation that fails is passed over.
//
// Values are changed in place, never deleted first; MAX, MIN and INCREMENT work only on numbers
// (REG_DWORD, REG_DWORD_BIG_ENDIAN, and REG_BINARY of at most 4 bytes) and leave any other
// value alone; a REG_MULTI_SZ value ends with its second terminator; a big-endian DWORD is
// written big-endian. Renaming a value to its own name (names ignore case) does nothing.
#pragma once

#include "files/registry_block.h"
#include "lexical/install_log_sink.h"
#include "lexical/macros.h"
#include "os/registry.h"

#include <vector>

namespace kestrel::files {

// Carries out one block; block.createdKeys gets the keys it made, in the order made.
void writeRegistryBlock(RegistryBlock& block, os::Registry& registry,
                        const lexical::MacroVariables& macros);

// Writes every block and, after each, a REGKEY line for every key it made, deepest first;
// then empties the list.
void runRegistryPhase(std::vector<RegistryBlock>& blocks, os::Registry& registry,
                      const lexical::MacroVariables& macros, lexical::InstallLogSink& log);

} // namespace kestrel::files
