// Self-registration: the component is loaded so that its own folder is searched first for the
// libraries it needs, and COM is ready on the thread when its DllRegisterServer runs.
#include "os/server_registration.h"

#include <objbase.h>
#include <windows.h>

namespace kestrel::os {
namespace {

using RegisterFunction = HRESULT(STDAPICALLTYPE*)();

class Win32ServerRegistration final : public ServerRegistration {
  public:
    ServerRegistrationResult registerServer(const std::string& path) override {
        using Outcome = ServerRegistrationResult::Outcome;
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!module)
            return {Outcome::NotLoadable, GetLastError()};
        // Through void(*)(): the one cast between function types that is never a warning.
        auto registerServer = reinterpret_cast<RegisterFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer")));
        if (!registerServer) {
            FreeLibrary(module);
            return {Outcome::NotAServer, 0};
        }
        // S_FALSE: COM was ready already; it is released as often as it was initialised.
        const HRESULT com = CoInitialize(nullptr);
        const HRESULT status = registerServer();
        if (SUCCEEDED(com))
            CoUninitialize();
        FreeLibrary(module);
        if (status != S_OK)
            return {Outcome::Failed, static_cast<uint32_t>(status)};
        return {Outcome::Registered, 0};
    }
};

} // namespace

std::unique_ptr<ServerRegistration> makeNativeServerRegistration() {
    return std::make_unique<Win32ServerRegistration>();
}

} // namespace kestrel::os
