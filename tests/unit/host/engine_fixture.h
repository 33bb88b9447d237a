// A whole installation on a made-up machine: the session as the plug-in window drives it, with
// a browser that queues requests and posted steps. run() plays the window's message loop: it
// carries out posted steps and serves requests one at a time from `web` (a missing address is
// answered as a browser answers a 404) until nothing is left.
#pragma once

#include "fakes/fake_engine_machine.h"
#include "fakes/fake_interpreter_machine.h"
#include "fakes/memory_profile.h"
#include "fakes/memory_registry.h"
#include "fakes/recording_browser.h"
#include "fakes/scripted_dialogs.h"
#include "files/packed_archive_writer.h"
#include "host/plugin_session.h"
#include "script/script_codec.h"
#include "support/noise.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace kestrel::test {

class EngineTest : public ::testing::Test, protected FakeInterpreterMachine {
  protected:
    static constexpr const char* kBaseUrl = "http://example.test/setup";

    EngineTest() { files.directories = {"C:\\TEMP", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"}; }

    // Starts an installation of the plain script text.
    bool start(const std::string& text, const std::string& baseUrl = kBaseUrl) {
        const std::vector<uint8_t> bytes = script::encodeScript(text, script::ScriptKey{});
        files.add("C:\\TEMP\\SETUP.KST", std::string(bytes.begin(), bytes.end()));
        return session->start("C:\\TEMP\\SETUP.KST", baseUrl);
    }

    // Carries out one posted step, or serves one request; false when there was neither.
    bool once() {
        if (!browser.posted.empty()) {
            const RecordingBrowser::Posted step = browser.posted.front();
            browser.posted.pop_front();
            session->step(step.code, step.withPath);
            return true;
        }
        if (browser.outstanding.empty())
            return false;
        mostOutstanding = std::max(mostOutstanding, browser.outstanding.size());
        const auto [url, code] = browser.outstanding.front();
        browser.outstanding.pop_front();
        auto found = web.find(url);
        if (found != web.end()) {
            const std::string path =
                "C:\\TEMP\\D" + std::to_string(++downloads) + "\\" + url.substr(url.rfind('/') + 1);
            files.add(path, found->second, webStamp);
            session->deliver(path.c_str());
        } else if (!session->isRequired()) {
            session->deliver(nullptr);
        } else {
            session->downloadError(url);
        }
        return true;
    }
    void run() {
        while (once()) {
        }
    }

    // The browser leaves the page, as it does when asked.
    void leavePage() { session->end(); }

    std::string log() const {
        auto found = files.files.find("C:\\APP\\install.log");
        return found == files.files.end() ? std::string("<none>") : found->second.bytes;
    }

    FakeSystemDetails details;
    FakeVolumes volumes;
    RecordingProcesses processes;
    MemoryRegistry registryWriter;
    MemoryProfile profile;
    RecordingRegistration servers;
    RecordingProgramManager programManager;
    CountingRestart restart;
    RecordingBrowser browser;
    ScriptedDialogs dialogs;
    host::EngineServices services{files,          prompts,     system,   details,        drives,
                                  volumes,        directories, registry, versions,       processes,
                                  registryWriter, profile,     servers,  programManager, restart,
                                  measure,        browser,     dialogs};
    host::PluginProcess process;
    std::unique_ptr<host::PluginSession> session =
        std::make_unique<host::PluginSession>(process, services);
    std::map<std::string, std::string> web;
    os::DosDateTime webStamp{0x2A21, 0x6000};
    int downloads = 0;
    size_t mostOutstanding = 0; // requests waiting at the same time, at most
};

} // namespace kestrel::test
