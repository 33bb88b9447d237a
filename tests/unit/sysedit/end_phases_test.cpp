// Self-registration and the restart at the end of an installation.
#include "fakes/fake_engine_machine.h"
#include "fakes/recording_log.h"
#include "fakes/recording_prompts.h"
#include "sysedit/restart_phase.h"
#include "sysedit/self_registration.h"

#include <gtest/gtest.h>

namespace kestrel::sysedit {
namespace {

using Outcome = test::RecordingRegistration::Outcome;

TEST(SelfRegistration, LogsRegisteredServersAndTellsOfTheOthers) {
    lexical::MacroVariables macros;
    macros.setDefaultDir("C:\\APP");
    macros.setSystemDir("C:\\WINDOWS\\SYSTEM");
    test::RecordingRegistration registration;
    registration.outcomes = {{"C:\\APP\\BAD.DLL", Outcome::Failed},
                             {"D:\\NONE.DLL", Outcome::NotAServer}};
    test::RecordingPrompts prompts;
    test::RecordingLog log;
    EXPECT_FALSE(
        runSelfRegistrationPhase({"$WINSYSDIR$\\A.OCX", "BAD.DLL", "D:\\NONE.DLL", "\\ROOT.DLL"},
                                 macros, registration, prompts, log));
    EXPECT_EQ(registration.asked,
              (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\A.OCX", "C:\\APP\\BAD.DLL",
                                        "D:\\NONE.DLL", "\\ROOT.DLL"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"RegServer: \"C:\\WINDOWS\\SYSTEM\\A.OCX\"",
                                                   "RegServer: \"\\ROOT.DLL\""}));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, "C:\\APP\\BAD.DLL has not been successfully registered.");
    EXPECT_EQ(prompts.messages[0].caption, "C:\\APP\\BAD.DLL");
    EXPECT_EQ(prompts.messages[0].type, uint32_t(os::kMbOk));
}

TEST(RestartPhase, RestartsOnlyOnYesAndTellsOfARefusal) {
    test::RecordingPrompts prompts;
    EXPECT_FALSE(askForRestart(0, "Reboot?", prompts));
    EXPECT_TRUE(prompts.messages.empty());
    prompts.answers = {os::kIdNo, os::kIdYes};
    EXPECT_FALSE(askForRestart(1, "Reboot?", prompts));
    EXPECT_TRUE(askForRestart(2, "Reboot?", prompts));
    EXPECT_EQ(prompts.messages[1].type, uint32_t(os::kMbYesNo | os::kMbIconQuestion));

    test::CountingRestart restart;
    EXPECT_FALSE(restartIfWanted(false, restart, prompts));
    EXPECT_EQ(restart.restarts, 0);
    EXPECT_TRUE(restartIfWanted(true, restart, prompts));
    EXPECT_EQ(prompts.messages.size(), 2u);
    restart.accepts = false;
    EXPECT_FALSE(restartIfWanted(true, restart, prompts));
    EXPECT_EQ(prompts.messages.back().text, kRestartRefused);
}

} // namespace
} // namespace kestrel::sysedit
