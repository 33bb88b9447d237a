#include "script/deferred_block.h"

namespace kestrel::script {

bool DeferredBlock::append(std::string_view line) {
    if (full())
        return false;
    lines_.emplace_back(line.substr(0, kLineCapacity));
    return true;
}

} // namespace kestrel::script
