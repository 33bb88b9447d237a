// The product itself, the i686 plug-in DLL, read from its bytes (it cannot run here): built for
// the right machine, its exports by their plain names as browsers look them up (stdcall names
// would otherwise carry an @n suffix), the registration keys browsers read, and the dialogs.
#include "support/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#ifdef KESTREL_I686_PLUGIN_DLL
namespace kestrel::test {
namespace {

TEST(PluginDllI686, IsAnI386DllWithPlainExportsAndItsRegistrationKeys) {
    if (!std::filesystem::exists(KESTREL_I686_PLUGIN_DLL)) {
        if (std::getenv("KESTREL_REQUIRE_I686_PLUGIN"))
            FAIL() << "not built: " << KESTREL_I686_PLUGIN_DLL;
        GTEST_SKIP() << "the win32 preset has not been built";
    }
    std::string error;
    const auto image = readPeFile(KESTREL_I686_PLUGIN_DLL, error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->machine, kMachineI386);
    EXPECT_TRUE(image->isDll);
    std::vector<std::string> names;
    for (const PeExport& e : image->exports) {
        names.push_back(e.name);
        EXPECT_TRUE(e.undecorated) << e.name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"KestrelInstallationOutcome", "NP_GetEntryPoints",
                                               "NP_Initialize", "NP_Shutdown"}));
    EXPECT_EQ(image->fileVersion, (PeVersion{1, 0, 0, 1}));
    const std::pair<const char*, const char*> keys[] = {{"MIMEType", "application/x-Kestrel"},
                                                        {"FileExtents", "kst"},
                                                        {"FileOpenName", "Kestrel (*.kst)"},
                                                        {"FileVersion", "1, 0, 0, 1"},
                                                        {"ProductVersion", "1, 0, 0, 1"}};
    for (const auto& [name, value] : keys)
        EXPECT_EQ(image->versionString("040904E4", name), value) << name;
    // The installer's dialogs are loaded from the DLL's own resources.
    for (const uint16_t id : {100, 250, 300, 350, 601})
        EXPECT_TRUE(std::ranges::find(image->dialogIds, id) != image->dialogIds.end())
            << "dialog " << id;
}

} // namespace
} // namespace kestrel::test
#endif
