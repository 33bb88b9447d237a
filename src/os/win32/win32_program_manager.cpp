// The Program Manager through the DDE Management Library: one client instance per run of
// commands, one conversation per command, as the shell expects.
#include "os/program_manager.h"

#include <windows.h>

#include <ddeml.h>

namespace kestrel::os {
namespace {

constexpr DWORD kCommandTimeoutMs = 10000;

HDDEDATA CALLBACK ignoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

class Win32ProgramManager final : public ProgramManager {
  public:
    Win32ProgramManager() = default;
    Win32ProgramManager(const Win32ProgramManager&) = delete;
    Win32ProgramManager& operator=(const Win32ProgramManager&) = delete;
    ~Win32ProgramManager() override { end(); }

    bool begin() override {
        end();
        if (DdeInitializeA(&instance_, ignoreTransactions, APPCMD_CLIENTONLY, 0) !=
            DMLERR_NO_ERROR) {
            instance_ = 0;
            return false;
        }
        return true;
    }

    bool execute(const std::string& command) override {
        if (instance_ == 0)
            return false;
        HSZ name = DdeCreateStringHandleA(instance_, "PROGMAN", CP_WINANSI);
        if (!name)
            return false;
        bool done = false;
        if (HCONV conversation = DdeConnect(instance_, name, name, nullptr)) {
            std::string data = command; // the call takes a writable buffer
            done =
                DdeClientTransaction(reinterpret_cast<BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size() + 1), conversation, nullptr,
                                     CF_TEXT, XTYP_EXECUTE, kCommandTimeoutMs, nullptr) != nullptr;
            DdeDisconnect(conversation);
        }
        DdeFreeStringHandle(instance_, name);
        return done;
    }

    void end() override {
        // Cleared, so that the next installation in this process starts a new instance.
        if (instance_ != 0)
            DdeUninitialize(instance_);
        instance_ = 0;
    }

  private:
    DWORD instance_ = 0;
};

} // namespace

std::unique_ptr<ProgramManager> makeNativeProgramManager() {
    return std::make_unique<Win32ProgramManager>();
}

} // namespace kestrel::os
