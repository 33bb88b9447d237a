// Starting the test child program and waiting for it on the real API.
#include "os/native_machine.h"
#include "support/temp_dir.h"
#include "support/windows_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <thread>

namespace kestrel::os {
namespace {

constexpr UINT kSent = WM_APP;
constexpr UINT kPosted = WM_APP + 1;
int sentSeen = 0;
int postedSeen = 0;

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    sentSeen += message == kSent;
    postedSeen += message == kPosted;
    return message == kSent ? 42 : DefWindowProcA(window, message, w, l);
}

std::string child() {
    return "\"" + test::windowsPath(KESTREL_TEST_CHILD) + "\"";
}

std::string eventName() {
    return "kestrel-test-" + std::to_string(std::random_device{}());
}

TEST(Win32Processes, WaitingAnswersSentMessagesAndLeavesPostedOnesQueued) {
    WNDCLASSA type{};
    type.lpfnWndProc = countingProcedure;
    type.lpszClassName = "KestrelProcessTestWindow";
    RegisterClassA(&type);
    HWND window = CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(window);
    ASSERT_TRUE(PostMessageA(window, kPosted, 0, 0));

    // The child ends only once another thread's SendMessage to us has been answered: a wait
    // that handled nothing would hang both (each gives up after a while, failing the test).
    const std::string name = eventName();
    HANDLE answered = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    DWORD_PTR reply = 0;
    std::thread sender([&] {
        SendMessageTimeoutA(window, kSent, 0, 0, SMTO_NORMAL, 30000, &reply);
        SetEvent(answered);
    });
    EXPECT_EQ(makeNativeProcesses()->runAndWait(child() + " 5 --wait " + name), 5u);
    sender.join();
    CloseHandle(answered);

    EXPECT_EQ(reply, 42u);
    EXPECT_EQ(sentSeen, 1);
    EXPECT_EQ(postedSeen, 0);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, window, kPosted, kPosted, PM_REMOVE));
    DestroyWindow(window);
}

TEST(Win32Processes, ExitCodesShellStartAndProgramsThatCannotStart) {
    auto processes = makeNativeProcesses();
    EXPECT_EQ(processes->runAndWait(child() + " 7"), 7u);
    // Through the command interpreter, from a path with a blank in it.
    test::TempDir dir;
    const std::string copy = dir.file("with blank.exe");
    ASSERT_TRUE(CopyFileA(test::windowsPath(KESTREL_TEST_CHILD).c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(processes->runInShellAndWait("\"" + copy + "\" 3 \"an argument\""), 3u);

    const std::string name = eventName();
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    EXPECT_TRUE(processes->start(child() + " 0 --set " + name));
    EXPECT_EQ(WaitForSingleObject(started, 30000), WAIT_OBJECT_0);
    CloseHandle(started);

    const std::string missing = "\"C:\\no such folder\\no such program.exe\"";
    EXPECT_EQ(processes->runAndWait(missing), std::nullopt);
    EXPECT_FALSE(processes->start(missing));
    // The interpreter starts; the program it cannot find makes its exit code non-zero.
    EXPECT_NE(processes->runInShellAndWait(missing).value_or(0), 0u);
}

} // namespace
} // namespace kestrel::os
