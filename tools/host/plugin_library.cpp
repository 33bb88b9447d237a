#include "plugin_library.h"

#include "win32_util.h"

namespace kestrel::host {
namespace {

template <typename Function> Function exported(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

std::vector<std::string> pluginMimeTypes(const std::string& dllPath) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(dllPath.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(dllPath.c_str(), 0, size, block.data())) {
        return {};
    }
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\MIMEType",
                        reinterpret_cast<void**>(&value), &length) ||
        value == nullptr || length == 0) {
        return {};
    }
    std::string list(value, strnlen(value, length));
    std::vector<std::string> types;
    size_t start = 0;
    while (start <= list.size()) {
        size_t bar = list.find('|', start);
        std::string type = list.substr(start, bar == std::string::npos ? bar : bar - start);
        if (!type.empty()) {
            types.push_back(type);
        }
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    return types;
}

PluginLibrary::~PluginLibrary() {
    shutdown();
}

bool PluginLibrary::start(const std::string& dllPath, NPNetscapeFuncs* browserFuncs,
                          std::string& error) {
    module_ = LoadLibraryExA(dllPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module_ == nullptr) {
        error = "cannot load " + dllPath + ": " + lastErrorText();
        return false;
    }
    auto getEntryPoints = exported<NP_GetEntryPointsFunc>(module_, "NP_GetEntryPoints");
    auto initialize = exported<NP_InitializeFunc>(module_, "NP_Initialize");
    shutdown_ = exported<NP_ShutdownFunc>(module_, "NP_Shutdown");
    outcome_ = exported<KestrelInstallationOutcomeFunc>(module_, "KestrelInstallationOutcome");
    if (getEntryPoints == nullptr || initialize == nullptr || shutdown_ == nullptr) {
        error = dllPath + " is not a plug-in: NP_GetEntryPoints, NP_Initialize or NP_Shutdown "
                          "is not exported";
        shutdown();
        return false;
    }
    // The whole table we know, as a browser built with the newest headers offers it.
    funcs_ = NPPluginFuncs{};
    funcs_.size = sizeof funcs_;
    NPError result = getEntryPoints(&funcs_);
    if (result != NPERR_NO_ERROR) {
        error = "NP_GetEntryPoints failed with NPError " + std::to_string(result);
        shutdown();
        return false;
    }
    if (funcs_.newp == nullptr || funcs_.destroy == nullptr || funcs_.setwindow == nullptr ||
        funcs_.newstream == nullptr || funcs_.destroystream == nullptr ||
        funcs_.asfile == nullptr) {
        error = "NP_GetEntryPoints left a required plug-in function empty";
        shutdown();
        return false;
    }
    result = initialize(browserFuncs);
    if (result != NPERR_NO_ERROR) {
        error = "NP_Initialize failed with NPError " + std::to_string(result);
        shutdown();
        return false;
    }
    initialized_ = true;
    return true;
}

void PluginLibrary::shutdown() {
    if (initialized_ && shutdown_ != nullptr) {
        shutdown_();
    }
    initialized_ = false;
    if (module_ != nullptr) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
    shutdown_ = nullptr;
    outcome_ = nullptr;
}

} // namespace kestrel::host
