#include "script_file.h"

namespace kst {

using kestrel::script::kScriptHeaderSize;

std::variant<kestrel::script::ScriptKey, std::string> readScriptHeader(std::string_view bytes,
                                                                       bool force) {
    if (bytes.size() < kScriptHeaderSize)
        return std::string("not an installation script: shorter than the 32-byte header");
    const auto* header = reinterpret_cast<const uint8_t*>(bytes.data());
    const std::string_view magic(kestrel::script::kScriptMagic,
                                 sizeof kestrel::script::kScriptMagic);
    if (!force && !bytes.starts_with(magic))
        return "not an installation script: the header does not begin with " + std::string(magic) +
               "; --force reads it anyway";
    return *kestrel::script::parseScriptHeader({header, kestrel::script::kScriptKeyEnd});
}

} // namespace kst
