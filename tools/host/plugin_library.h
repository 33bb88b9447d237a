// The plug-in DLL as a browser sees it: its registration keys in the version resource, its
// exports, and the tables exchanged when it starts.
#pragma once

#include "host/npapi.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kestrel::host {

// The MIME types listed under MIMEType in the DLL's US English, code page 1252 string table,
// split at '|'; empty when the DLL has no such entry (or cannot be read).
std::vector<std::string> pluginMimeTypes(const std::string& dllPath);

class PluginLibrary {
  public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();

    // Loads the DLL, looks up its exports and calls NP_GetEntryPoints and NP_Initialize in a
    // browser's order. On failure `error` says why and nothing stays loaded.
    bool start(const std::string& dllPath, NPNetscapeFuncs* browserFuncs, std::string& error);
    // NP_Shutdown, then FreeLibrary. Safe to call twice.
    void shutdown();

    const NPPluginFuncs& funcs() const { return funcs_; }
    // KestrelInstallationOutcome when the DLL exports it.
    bool hasOutcome() const { return outcome_ != nullptr; }
    int outcome() const { return outcome_(); }
    // Whether the plug-in's table has a field: it was there in the size we offered and the
    // plug-in filled it.
    bool hasUrlNotify() const { return funcs_.urlnotify != nullptr; }

  private:
    HMODULE module_ = nullptr;
    bool initialized_ = false;
    NPPluginFuncs funcs_{};
    NP_ShutdownFunc shutdown_ = nullptr;
    KestrelInstallationOutcomeFunc outcome_ = nullptr;
};

} // namespace kestrel::host
