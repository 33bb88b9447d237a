#include "script/conditional_state.h"

#include <gtest/gtest.h>

namespace kestrel::script {
namespace {

TEST(ConditionalState, BranchesElseAndEndif) {
    ConditionalState state;
    EXPECT_FALSE(state.elseLine());  // ELSE without IF
    EXPECT_FALSE(state.endIfLine()); // ENDIF without IF

    ASSERT_TRUE(state.beginIf(true));
    ASSERT_TRUE(state.applyCondition(kConditionFalse));
    EXPECT_TRUE(state.skipping());
    EXPECT_FALSE(state.interprets("FILE"));
    EXPECT_TRUE(state.interprets("else"));
    EXPECT_TRUE(state.elseLine());
    EXPECT_FALSE(state.skipping());
    EXPECT_FALSE(state.elseLine()); // a second ELSE
    EXPECT_TRUE(state.endIfLine());
    EXPECT_FALSE(state.endIfLine()); // the outer ENDIF of a replaced IF

    ASSERT_TRUE(state.beginIf(true));
    ASSERT_TRUE(state.applyCondition(kConditionTrue));
    EXPECT_TRUE(state.elseLine());
    EXPECT_TRUE(state.skipping());
    EXPECT_FALSE(state.runEndsCleanly()); // missing ENDIF
    EXPECT_FALSE(state.beginIf(true));    // IF inside a switched-off branch
}

TEST(ConditionalState, ErrorsDeferredBlocksAndExitMessages) {
    ConditionalState state;
    EXPECT_FALSE(state.beginIf(false));
    EXPECT_TRUE(state.beginIf(true));
    EXPECT_FALSE(state.applyCondition(kConditionError));

    ASSERT_TRUE(state.applyCondition(kConditionDeferred));
    EXPECT_FALSE(state.insideIf());
    EXPECT_FALSE(state.elseLine());

    ASSERT_TRUE(state.beginIf(true));
    ASSERT_TRUE(state.applyCondition(kConditionFalse));
    EXPECT_FALSE(state.interprets("EXITMESSAGE"));
    EXPECT_FALSE(state.interprets("ENDIF")); // screen text of the exit message
    EXPECT_FALSE(state.interprets("Exit"));
    EXPECT_TRUE(state.interprets("ENDIF"));
    EXPECT_FALSE(state.interprets("EXITMESSAGE"));
    state.beginRun();
    EXPECT_TRUE(state.interprets("ENDIF"));
}

} // namespace
} // namespace kestrel::script
