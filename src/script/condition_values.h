// How the condition tests compare what they read with what they find.
#pragma once

#include "lexical/field_cursor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::script {

// Whether "a op b" holds, given the three-way comparison of a with b (<0, 0, >0). The error
// and range codes never hold.
bool comparisonHolds(int threeWay, lexical::ComparisonOperator op);

template <typename T> int threeWayCompare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace kestrel::script
