#include "ui/group_choice.h"

namespace kestrel::ui {

namespace {

std::vector<int32_t> indicesSet(std::span<const bool> flags, bool firstOnly) {
    std::vector<int32_t> indices;
    for (size_t k = 0; k < flags.size(); ++k) {
        if (!flags[k])
            continue;
        indices.push_back(int32_t(k));
        if (firstOnly)
            break;
    }
    return indices;
}

} // namespace

std::vector<int32_t> initiallyChecked(std::span<const bool> preselected, bool exclusive) {
    return indicesSet(preselected, exclusive);
}

GroupChoice chooseGroup(std::span<const bool> checked) {
    GroupChoice choice;
    choice.selected = indicesSet(checked, false);
    choice.accepted = !choice.selected.empty();
    return choice;
}

} // namespace kestrel::ui
