// The plug-in DLL as a browser meets it: loaded by name, its exports looked up, and its answers
// to function tables of every size checked before anything is kept.
#include "host/npapi.h"
#include "support/pe_image.h"
#include "support/windows_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace kestrel::host {
namespace {

class PluginDll : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryA(test::windowsPath(KESTREL_PLUGIN_DLL).c_str());
        ASSERT_TRUE(module_) << KESTREL_PLUGIN_DLL << ": " << GetLastError();
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    template <typename F> F find(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    HMODULE module_ = nullptr;
};

TEST_F(PluginDll, EntryPointTablesAreCheckedThroughTheirLastNeededField) {
    const auto getEntryPoints = find<NP_GetEntryPointsFunc>("NP_GetEntryPoints");
    const auto initialize = find<NP_InitializeFunc>("NP_Initialize");
    const auto shutdown = find<NP_ShutdownFunc>("NP_Shutdown");
    const auto outcome = find<KestrelInstallationOutcomeFunc>("KestrelInstallationOutcome");
    ASSERT_TRUE(getEntryPoints && initialize && shutdown && outcome);

    EXPECT_EQ(getEntryPoints(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
    struct PluginCase {
        size_t size;
        NPError expected;
    };
    for (const PluginCase& c :
         {PluginCase{kPluginFuncsThroughEvent - 1, 3}, PluginCase{kPluginFuncsThroughEvent, 0},
          PluginCase{sizeof(NPPluginFuncs), 0}}) {
        SCOPED_TRACE(c.size);
        NPPluginFuncs funcs;
        std::memset(&funcs, 0xAB, sizeof funcs);
        funcs.size = uint16_t(c.size);
        EXPECT_EQ(getEntryPoints(&funcs), c.expected);
        EXPECT_EQ(funcs.size, c.size);
        if (c.expected != 0) {
            EXPECT_EQ(funcs.version, 0xABAB) << "nothing filled";
            continue;
        }
        EXPECT_EQ(funcs.version, 6);
        EXPECT_EQ(funcs.event, nullptr);
        EXPECT_TRUE(funcs.newp && funcs.destroy && funcs.setwindow && funcs.newstream &&
                    funcs.destroystream && funcs.asfile && funcs.writeready && funcs.write &&
                    funcs.print);
    }

    EXPECT_EQ(initialize(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
    struct BrowserCase {
        uint16_t version;
        size_t size;
        NPError expected;
    };
    for (const BrowserCase& c : {BrowserCase{0x0100, sizeof(NPNetscapeFuncs), 8},
                                 BrowserCase{0x0009, kNetscapeFuncsThroughReloadPlugins - 1, 3},
                                 BrowserCase{0x0009, kNetscapeFuncsThroughReloadPlugins, 0},
                                 BrowserCase{0x001B, sizeof(NPNetscapeFuncs), 0}}) {
        SCOPED_TRACE(c.size);
        NPNetscapeFuncs browser{};
        browser.version = c.version;
        browser.size = uint16_t(c.size);
        EXPECT_EQ(initialize(&browser), c.expected);
        EXPECT_EQ(shutdown(), 0);
    }
    EXPECT_EQ(outcome(), kOutcomeNotRun);
}

TEST(PluginDllImage, ExportsItsEntryPointsByNameAndRegistersItsType) {
    std::string error;
    const auto image = test::readPeFile(test::windowsPath(KESTREL_PLUGIN_DLL), error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->machine, test::kMachineAmd64);
    for (const char* name :
         {"NP_GetEntryPoints", "NP_Initialize", "NP_Shutdown", "KestrelInstallationOutcome"}) {
        ASSERT_TRUE(image->findExport(name)) << name;
        EXPECT_TRUE(image->findExport(name)->undecorated) << name;
    }
    EXPECT_EQ(image->versionString("040904E4", "MIMEType"), "application/x-Kestrel");
}

} // namespace
} // namespace kestrel::host
