// Message boxes shown for real and answered by a helper thread.
#include "os/message_box_prompts.h"
#include "support/message_box_answerer.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

TEST(MessageBoxPrompts, ShowsTheBoxOwnedByTheWindowAndReturnsTheButton) {
    HWND owner = CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    MessageBoxPrompts prompts(owner, nullptr);
    const std::tuple<uint32_t, int, PromptResult> cases[] = {
        {kMbYesNo | kMbIconQuestion, IDNO, kIdNo},
        {kMbOkCancel | kMbIconExclamation, IDCANCEL, kIdCancel},
    };
    for (const auto& [type, button, result] : cases) {
        test::MessageBoxAnswerer answerer(button);
        EXPECT_EQ(prompts.messageBox("Overwrite C:\\A.TXT?", "Question", type), result);
        const test::SeenBox seen = answerer.seen();
        EXPECT_EQ(seen.caption, "Question");
        EXPECT_EQ(seen.text, "Overwrite C:\\A.TXT?");
        EXPECT_EQ(seen.owner, owner);
    }

    // The owner may be gone by the time a question comes (the page was left): the question
    // must still be asked, not answered for the user.
    DestroyWindow(owner);
    test::MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(prompts.messageBox("Restart now?", " ", kMbYesNo), kIdYes);
    EXPECT_EQ(answerer.seen().text, "Restart now?");
}

} // namespace
} // namespace kestrel::os
