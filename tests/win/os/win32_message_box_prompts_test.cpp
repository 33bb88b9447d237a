// Message boxes shown for real and answered by a helper thread.
#include "os/message_box_prompts.h"
#include "support/message_box_answerer.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

HWND makeOwner() {
    return CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TEST(MessageBoxPrompts, ShowsTextAndCaptionOwnedByTheWindowAndReturnsTheButton) {
    HWND owner = makeOwner();
    ASSERT_TRUE(owner);
    MessageBoxPrompts prompts(owner, nullptr);
    const struct {
        uint32_t type;
        int button;
        PromptResult result;
    } cases[] = {
        {kMbYesNo | kMbIconQuestion, IDYES, kIdYes},
        {kMbYesNo | kMbIconQuestion, IDNO, kIdNo},
        {kMbOkCancel | kMbIconExclamation, IDCANCEL, kIdCancel},
        {kMbOk | kMbIconExclamation, IDOK, kIdOk},
    };
    for (const auto& c : cases) {
        test::MessageBoxAnswerer answerer(GetCurrentThreadId(), c.button);
        EXPECT_EQ(prompts.messageBox("Overwrite C:\\A.TXT?", "Question", c.type), c.result);
        const test::SeenBox seen = answerer.seen();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, "Question");
        EXPECT_EQ(seen.text, "Overwrite C:\\A.TXT?");
        EXPECT_EQ(seen.owner, owner);
    }
    DestroyWindow(owner);
}

// The owner may be gone by the time a question comes (the page was left): the question must
// still be asked, not answered for the user.
TEST(MessageBoxPrompts, AQuestionWhoseOwnerIsGoneIsStillAsked) {
    HWND owner = makeOwner();
    MessageBoxPrompts prompts(owner, nullptr);
    DestroyWindow(owner);
    {
        test::MessageBoxAnswerer answerer(GetCurrentThreadId(), IDNO);
        EXPECT_EQ(prompts.messageBox("Restart now?", " ", kMbYesNo), kIdNo);
        const test::SeenBox seen = answerer.seen();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(seen.owner, nullptr);
    }
    test::MessageBoxAnswerer answerer(GetCurrentThreadId(), IDYES);
    EXPECT_EQ(prompts.messageBox("Restart now?", " ", kMbYesNo), kIdYes);
    EXPECT_TRUE(answerer.seen().found);
}

TEST(MessageBoxPrompts, ScreensGoToTheRunner) {
    ScreenDialog shown;
    MessageBoxPrompts prompts(nullptr, [&](const ScreenDialog& screen) {
        shown = screen;
        return kIdOk;
    });
    EXPECT_EQ(prompts.showScreen(ScreenDialog{{1, 2}, {"line"}}), kIdOk);
    EXPECT_EQ(shown.lines, std::vector<std::string>{"line"});
    EXPECT_EQ(MessageBoxPrompts(nullptr, nullptr).showScreen(ScreenDialog{}), kIdCancel);
}

} // namespace
} // namespace kestrel::os
