// Starting programs and waiting for them without hanging the window thread.
#include "os/native_machine.h"
#include "os/win32/win32_handle.h"

#include <windows.h>

#include <vector>

namespace kestrel::os {
namespace {

struct Started {
    win32::KernelHandle process;
    win32::KernelHandle thread;
};

std::optional<Started> startProcess(const std::string& commandLine, WORD show) {
    if (commandLine.empty())
        return std::nullopt;
    // CreateProcess may write into the command line, so it gets a copy of its own.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (show != SW_SHOWDEFAULT) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return std::nullopt;
    return Started{win32::KernelHandle(info.hProcess), win32::KernelHandle(info.hThread)};
}

// Handles messages sent to this thread (SendMessage, DDE, broadcasts) until the process
// ends, so that a program waiting for our answer does not wait for ever. Posted messages
// (input, timers, our own steps) stay in the queue for whoever pumps it next.
void waitHandlingSentMessages(HANDLE process) {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            return;
        if (woken != WAIT_OBJECT_0 + 1) {
            WaitForSingleObject(process, INFINITE);
            return;
        }
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

std::string commandInterpreter() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("COMSPEC", path, sizeof path);
    if (length > 0 && length < sizeof path)
        return path;
    const UINT system = GetSystemDirectoryA(path, sizeof path);
    if (system == 0 || system >= sizeof path)
        return "cmd.exe";
    return std::string(path) + "\\cmd.exe";
}

class Win32Processes final : public Processes {
  public:
    std::optional<uint32_t> runAndWait(const std::string& commandLine) override {
        auto started = startProcess(commandLine, SW_SHOWDEFAULT);
        if (!started)
            return std::nullopt;
        waitHandlingSentMessages(started->process.get());
        DWORD code = 0;
        if (!GetExitCodeProcess(started->process.get(), &code))
            return std::nullopt;
        return code;
    }

    bool start(const std::string& commandLine) override {
        return startProcess(commandLine, SW_SHOW).has_value();
    }

    std::optional<uint32_t> runInShellAndWait(const std::string& commandLine) override {
        // The outer quotes are the interpreter's to strip, so the command's own quotes (a
        // path with blanks) reach it unchanged.
        return runAndWait("\"" + commandInterpreter() + "\" /C \"" + commandLine + "\"");
    }
};

} // namespace

std::unique_ptr<Processes> makeNativeProcesses() {
    return std::make_unique<Win32Processes>();
}

} // namespace kestrel::os
