#include "script/deferred_block.h"

#include <algorithm>

namespace kestrel::script {

bool DeferredBlock::append(std::string_view line) {
    if (full())
        return false;
    // A stored line is a text: it ends at a NUL byte as at its end.
    lines_.emplace_back(line.substr(0, std::min(line.find('\0'), kLineCapacity)));
    return true;
}

} // namespace kestrel::script
