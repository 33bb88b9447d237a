// Self-registration of a component: loading it and calling its DllRegisterServer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel::os {

struct ServerRegistrationResult {
    enum class Outcome {
        Registered,
        Failed,      // DllRegisterServer returned status, not S_OK
        NotAServer,  // loaded, but without DllRegisterServer
        NotLoadable, // status holds the system's error code
    };
    Outcome outcome = Outcome::NotLoadable;
    uint32_t status = 0;
};

class ServerRegistration {
  public:
    virtual ~ServerRegistration() = default;
    // Loads the component at its full path (its own folder searched first for the libraries
    // it needs), registers it and unloads it again.
    virtual ServerRegistrationResult registerServer(const std::string& path) = 0;
};

std::unique_ptr<ServerRegistration> makeNativeServerRegistration();

} // namespace kestrel::os
