// The individual condition tests behind evaluateCondition and evaluateDeferredCondition. Each
// takes the cursor behind its test name and returns Error for a line it cannot read; none of
// them touches the error flag (the dispatcher does).
#pragma once

#include "lexical/field_cursor.h"
#include "script/conditions.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrel::script {

// Machine tests.
ConditionResult testIsFile(lexical::FieldCursor& cursor, ConditionContext& context);
ConditionResult testOcxFileVersion(lexical::FieldCursor& cursor, ConditionContext& context);
ConditionResult testSearch(lexical::FieldCursor& cursor, ConditionContext& context);
ConditionResult testLocate(lexical::FieldCursor& cursor, ConditionContext& context);
ConditionResult testMemory(lexical::FieldCursor& cursor, const ConditionContext& context);
ConditionResult testVersion(lexical::FieldCursor& cursor, double version);

enum class DisplayTest { Colours, Resolution, Any };
ConditionResult testDisplay(lexical::FieldCursor& cursor, DisplayTest test,
                            ConditionContext& context);

// The tests of the deferred pass, read whole before anything is evaluated, so that the main
// pass can check their syntax when it defers them.
struct DeferredTest {
    enum class Kind { Group, Ask };
    Kind kind = Kind::Group;
    std::vector<int32_t> groupNumbers;                                   // Group
    int askNumber = 0;                                                   // Ask: 1..5
    lexical::ComparisonOperator op = lexical::ComparisonOperator::Error; // Ask
    bool range = false;                                                  // Ask: `range` LOW HIGH
    std::string value;                                                   // Ask, not range
    double low = 0.0;
    double high = 0.0;
};

// cursor stands at the test name. Nothing for a line the deferred pass cannot read.
std::optional<DeferredTest> parseDeferredTest(lexical::FieldCursor& cursor);
bool deferredTestHolds(const DeferredTest& test, const PluginGlobals& globals);

} // namespace kestrel::script
