// Self-registration of real components: built beside the tests in a folder of their own,
// where only the component's own folder holds the helper library it needs.
#include "os/server_registration.h"
#include "os/win32/shutdown_privilege.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrel::os {
namespace {

std::string component(const std::string& name) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.rfind('\\')) + "\\components\\" + name;
}

TEST(Win32ServerRegistration, EveryOutcomeOfARealComponent) {
    using Outcome = ServerRegistrationResult::Outcome;
    auto registration = makeNativeServerRegistration();
    // COM is not initialised on this thread; the component checks that it is when it runs.
    EXPECT_EQ(registration->registerServer(component("server_ok.dll")).outcome,
              Outcome::Registered);
    const ServerRegistrationResult failed =
        registration->registerServer(component("server_fails.dll"));
    EXPECT_EQ(failed.outcome, Outcome::Failed);
    EXPECT_EQ(failed.status, 0x80004005u);
    EXPECT_EQ(registration->registerServer(component("server_none.dll")).outcome,
              Outcome::NotAServer);
    const ServerRegistrationResult missing = registration->registerServer(component("missing.dll"));
    EXPECT_EQ(missing.outcome, Outcome::NotLoadable);
    EXPECT_NE(missing.status, 0u);
    // Each component was unloaded again.
    EXPECT_EQ(GetModuleHandleA("server_ok.dll"), nullptr);
}

TEST(Win32Restart, ShutdownPrivilegeIsEnabled) {
    // The restart itself is not called here: it would end every program of this Wine prefix.
    ASSERT_TRUE(win32::enableShutdownPrivilege());
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    PRIVILEGE_SET wanted{};
    wanted.PrivilegeCount = 1;
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privilege[0].Luid);
    BOOL held = FALSE;
    EXPECT_TRUE(PrivilegeCheck(token, &wanted, &held));
    EXPECT_TRUE(held);
    CloseHandle(token);
}

} // namespace
} // namespace kestrel::os
