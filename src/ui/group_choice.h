// A group dialog's options: which start checked, and what OK makes of the checked ones. The
// dialog's option k (counted from the group's first option) is control 100 + k.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::ui {

// The options (counted from the group's first) to check when the dialog opens, given which
// are preselected: every preselected one, or in a group of radio buttons only the first.
std::vector<int32_t> initiallyChecked(std::span<const bool> preselected, bool exclusive);

struct GroupChoice {
    bool accepted = false;         // false: show the no-group text and stay open
    std::vector<int32_t> selected; // options (counted from the first) to mark selected
};

// OK with the options' check states. Options already marked selected stay so.
GroupChoice chooseGroup(std::span<const bool> checked);

} // namespace kestrel::ui
