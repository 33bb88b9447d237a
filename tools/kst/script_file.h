// A .kst file as kst's readers take it. The installer reads any file of 32 bytes or more as a
// script, whatever its header says; kst wants the header its encoder writes ("KSTS" first), so
// that a text or a picture given by mistake is refused instead of printed as garbage.
#pragma once

#include "script/script_codec.h"

#include <string>
#include <string_view>
#include <variant>

namespace kst {

// The key of a script file, or why the bytes are not one. `force` takes any header.
std::variant<kestrel::script::ScriptKey, std::string> readScriptHeader(std::string_view bytes,
                                                                       bool force);

} // namespace kst
