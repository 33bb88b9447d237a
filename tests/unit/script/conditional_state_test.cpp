#include "script/conditional_state.h"

#include <gtest/gtest.h>

namespace kestrel::script {
namespace {

TEST(ConditionalState, BranchesAndTheirErrors) {
    ConditionalState state;
    EXPECT_FALSE(state.elseLine());  // ELSE without IF
    EXPECT_FALSE(state.endIfLine()); // ENDIF without IF
    EXPECT_FALSE(state.beginIf(false));

    ASSERT_TRUE(state.beginIf(true) && state.applyCondition(kConditionFalse));
    EXPECT_FALSE(state.interprets("FILE"));
    EXPECT_TRUE(state.interprets("else"));
    EXPECT_FALSE(state.beginIf(true)); // IF inside a switched-off branch
    EXPECT_TRUE(state.elseLine());
    EXPECT_FALSE(state.skipping());
    EXPECT_FALSE(state.elseLine()); // a second ELSE
    EXPECT_TRUE(state.endIfLine());
    EXPECT_FALSE(state.endIfLine());

    ASSERT_TRUE(state.beginIf(true) && state.applyCondition(kConditionTrue));
    EXPECT_TRUE(state.elseLine());
    EXPECT_FALSE(state.runEndsCleanly()); // ELSE branch off and no ENDIF
    EXPECT_FALSE(state.applyCondition(kConditionError));

    ASSERT_TRUE(state.applyCondition(kConditionDeferred)); // the block is gone: all clear
    EXPECT_FALSE(state.insideIf() || state.skipping());
}

TEST(ConditionalState, ExitMessageTextIsScreenContentWhileSkipping) {
    ConditionalState state;
    ASSERT_TRUE(state.beginIf(true) && state.applyCondition(kConditionFalse));
    EXPECT_FALSE(state.interprets("EXITMESSAGE"));
    EXPECT_FALSE(state.interprets("ENDIF"));
    EXPECT_FALSE(state.interprets("Exit"));
    EXPECT_TRUE(state.interprets("ENDIF"));
    EXPECT_FALSE(state.interprets("EXITMESSAGE"));
    state.beginRun();
    EXPECT_TRUE(state.interprets("ENDIF"));
}

} // namespace
} // namespace kestrel::script
