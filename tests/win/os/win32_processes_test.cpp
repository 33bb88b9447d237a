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

std::string child() {
    return "\"" + test::windowsPath(KESTREL_TEST_CHILD) + "\"";
}

// A named event of its own for each use.
struct NamedEvent {
    NamedEvent()
        : name("kestrel-test-" + std::to_string(std::random_device{}())),
          handle(CreateEventA(nullptr, TRUE, FALSE, name.c_str())) {}
    ~NamedEvent() { CloseHandle(handle); }
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;
    std::string name;
    HANDLE handle;
};

// Counts what reaches a window procedure of this thread.
struct Received {
    int sent = 0;
    int posted = 0;
};
Received received;

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kSent) {
        ++received.sent;
        return 42;
    }
    if (message == kPosted)
        ++received.posted;
    return DefWindowProcA(window, message, w, l);
}

TEST(Win32Processes, WaitingAnswersSentMessagesAndLeavesPostedOnesQueued) {
    WNDCLASSA type{};
    type.lpfnWndProc = countingProcedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "KestrelProcessTestWindow";
    RegisterClassA(&type);
    HWND window = CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                type.hInstance, nullptr);
    ASSERT_TRUE(window);
    received = {};
    ASSERT_TRUE(PostMessageA(window, kPosted, 0, 0));

    // The child waits until another thread's SendMessage to us has been answered: a wait that
    // handled nothing would keep the sender, and so the child, waiting (bounded: both give up).
    NamedEvent answered;
    DWORD_PTR reply = 0;
    LRESULT delivered = 0;
    std::thread sender([&] {
        delivered = SendMessageTimeoutA(window, kSent, 0, 0, SMTO_NORMAL, 30000, &reply);
        SetEvent(answered.handle);
    });
    auto processes = makeNativeProcesses();
    const auto code = processes->runAndWait(child() + " 5 --wait " + answered.name);
    sender.join();

    EXPECT_EQ(code, 5u);
    EXPECT_NE(delivered, 0);
    EXPECT_EQ(reply, 42u);
    EXPECT_EQ(received.sent, 1);
    EXPECT_EQ(received.posted, 0);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, window, kPosted, kPosted, PM_REMOVE));
    DestroyWindow(window);
}

TEST(Win32Processes, ExitCodesShellAndStartingWithoutWaiting) {
    auto processes = makeNativeProcesses();
    EXPECT_EQ(processes->runAndWait(child() + " 0"), 0u);
    EXPECT_EQ(processes->runAndWait(child() + " 7"), 7u);

    // Through the command interpreter, from a folder with a blank in its name.
    test::TempDir dir;
    const std::string copy = dir.file("with blank.exe");
    ASSERT_TRUE(CopyFileA(test::windowsPath(KESTREL_TEST_CHILD).c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(processes->runInShellAndWait("\"" + copy + "\" 3 \"an argument\""), 3u);

    NamedEvent started;
    EXPECT_TRUE(processes->start(child() + " 0 --set " + started.name));
    EXPECT_EQ(WaitForSingleObject(started.handle, 30000), WAIT_OBJECT_0);
}

TEST(Win32Processes, AProgramThatCannotStartIsAFailureNotSilence) {
    auto processes = makeNativeProcesses();
    const std::string missing = "C:\\no such folder\\no such program.exe";
    EXPECT_EQ(processes->runAndWait("\"" + missing + "\""), std::nullopt);
    EXPECT_EQ(processes->runAndWait(""), std::nullopt);
    EXPECT_FALSE(processes->start("\"" + missing + "\""));
    // The interpreter starts; the program it cannot find makes its exit code non-zero.
    const auto shell = processes->runInShellAndWait("\"" + missing + "\"");
    ASSERT_TRUE(shell);
    EXPECT_NE(*shell, 0u);
}

} // namespace
} // namespace kestrel::os
