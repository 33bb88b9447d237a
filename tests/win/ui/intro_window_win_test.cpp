// The intro picture over the plug-in window: ended by its timer, a key or a click, and only
// the first of them continues the installation.
#include "support/bitmap_file.h"
#include "ui/win32/intro_window.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::ui::win32 {
namespace {

void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
}

TEST(IntroWindow, CoversThePluginWindowAndContinuesOnceWhateverEndsIt) {
    const HWND plugin = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 40, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    const HINSTANCE module = GetModuleHandleA(nullptr);
    const auto red = [] { return test::picture(24, 10, 6, {}, [](int, int) { return 0xFF0000; }); };
    int continued = 0;
    const auto onEnd = [&] { ++continued; };

    // Ended by its timer however often it is painted; clicks and keys after it change nothing.
    auto intro = IntroWindow::show(module, plugin, red(), 1, onEnd);
    ASSERT_TRUE(intro->window());
    RECT place{};
    GetWindowRect(intro->window(), &place);
    EXPECT_EQ(place.left, 50);
    EXPECT_EQ(place.top, 40);
    EXPECT_EQ(place.right, 350);
    EXPECT_EQ(place.bottom, 240);
    pumpFor(200);
    {
        const HDC dc = GetDC(intro->window());
        EXPECT_EQ(GetPixel(dc, 150, 100), RGB(255, 0, 0)); // the picture, centred
        EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
        ReleaseDC(intro->window(), dc);
    }
    EXPECT_EQ(continued, 0);
    for (int i = 0; i < 13; ++i) { // repaints do not push the end away
        InvalidateRect(intro->window(), nullptr, TRUE);
        UpdateWindow(intro->window());
        pumpFor(100);
    }
    EXPECT_EQ(continued, 1);
    SendMessageA(intro->window(), WM_LBUTTONDOWN, 0, 0);
    SendMessageA(intro->window(), WM_CHAR, 'x', 0);
    EXPECT_EQ(continued, 1);
    const HWND window = intro->window();
    intro.reset();
    EXPECT_FALSE(IsWindow(window));

    // Without a time limit it waits for a key or a click, however often it is painted.
    intro = IntroWindow::show(module, plugin, red(), 0, onEnd);
    for (int i = 0; i < 3; ++i) {
        InvalidateRect(intro->window(), nullptr, TRUE);
        UpdateWindow(intro->window());
    }
    pumpFor(300);
    EXPECT_EQ(continued, 1);
    SendMessageA(intro->window(), WM_CHAR, 'x', 0);
    SendMessageA(intro->window(), WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(continued, 2);
    EXPECT_TRUE(intro->ended());

    // A picture that could not be loaded shows nothing and continues at once.
    intro = IntroWindow::show(module, plugin, nullptr, 5, onEnd);
    EXPECT_FALSE(intro->window());
    EXPECT_EQ(continued, 3);
    intro.reset();
    DestroyWindow(plugin);
}

} // namespace
} // namespace kestrel::ui::win32
