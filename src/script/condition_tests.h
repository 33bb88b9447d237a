// The individual condition tests behind evaluateCondition and evaluateDeferredCondition. Each
// takes the cursor behind its test name and returns Error for a line it cannot read; none of
// them touches the error flag (the dispatcher does). What they read leniently goes to the
// context's warnings.
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
ConditionResult testMemory(lexical::FieldCursor& cursor, ConditionContext& context);
ConditionResult testVersion(lexical::FieldCursor& cursor, double version,
                            ConditionContext& context);

enum class DisplayTest { Colours, Resolution, Any };
ConditionResult testDisplay(lexical::FieldCursor& cursor, DisplayTest test,
                            ConditionContext& context);

// The tests of the deferred pass, read whole before anything is evaluated, so that the main
// pass can tell the author what the deferred pass will find when it reads them.
struct DeferredTest {
    enum class Kind { Group, Ask };
    Kind kind = Kind::Group;
    std::vector<int32_t> groupNumbers; // Group: the numbers listed before the end or a fault
    // Why the test is an error once the evaluation reaches it (for a group test: after its
    // listed numbers, none of them chosen); empty for a test that reads.
    std::string fault;
    int askNumber = 0;                                                   // Ask: 1..5
    lexical::ComparisonOperator op = lexical::ComparisonOperator::Error; // Ask
    bool range = false;                                                  // Ask: `range` LOW HIGH
    std::string value;                                                   // Ask, not range
    double low = 0.0;
    double high = 0.0;
};

// cursor stands at the test name. What is read leniently goes to warnings.
DeferredTest readDeferredTest(lexical::FieldCursor& cursor, std::vector<std::string>& warnings);
// True or False, or Error when the evaluation reaches the test's fault.
ConditionResult evaluateDeferredTest(const DeferredTest& test, const PluginGlobals& globals);

} // namespace kestrel::script
