// The plug-in's exports and the functions it gives the browser. One process-wide record holds
// the browser's function table and what installations share; each instance gets a
// PluginInstance (from the browser's memory) that owns its window once the browser gives one.
#include "host/npapi.h"
#include "host/plugin_process.h"
#include "host/startup.h"
#include "host/win32/plugin_window.h"

#include <windows.h>

#include <new>
#include <string>

namespace kestrel::host::win32 {
namespace {

struct PluginInstance {
    PluginWindow* window = nullptr;
    std::string baseUrl;
    bool haveBaseUrl = false;
    // A download stream is open and has not handed over its file.
    bool downloading = false;
};

NPNetscapeFuncs* gBrowser = nullptr;

PluginProcess& process() {
    static PluginProcess shared;
    return shared;
}

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &module);
    return module;
}

PluginInstance* instanceOf(NPP npp) {
    return npp ? static_cast<PluginInstance*>(npp->pdata) : nullptr;
}

// The window goes: the installation ends and the browser's window gets its procedure back.
void tearDown(PluginInstance& instance) {
    if (instance.window) {
        instance.window->release();
        instance.window = nullptr;
    }
    instance.baseUrl.clear();
    instance.haveBaseUrl = false;
    instance.downloading = false;
}

NPError newInstance(NPMIMEType, NPP npp, uint16_t, int16_t, char**, char**, NPSavedData*) {
    if (!npp)
        return NPERR_INVALID_INSTANCE_ERROR;
    if (!gBrowser || !gBrowser->memalloc)
        return NPERR_GENERIC_ERROR;
    void* memory = gBrowser->memalloc(sizeof(PluginInstance));
    if (!memory)
        return NPERR_OUT_OF_MEMORY_ERROR;
    npp->pdata = new (memory) PluginInstance();
    return NPERR_NO_ERROR;
}

NPError destroyInstance(NPP npp, NPSavedData** save) {
    if (save)
        *save = nullptr;
    PluginInstance* instance = instanceOf(npp);
    if (!npp)
        return NPERR_INVALID_INSTANCE_ERROR;
    if (!instance)
        return NPERR_NO_ERROR;
    tearDown(*instance);
    instance->~PluginInstance();
    if (gBrowser && gBrowser->memfree)
        gBrowser->memfree(instance);
    npp->pdata = nullptr;
    return NPERR_NO_ERROR;
}

NPError setWindow(NPP npp, NPWindow* window) {
    if (!window)
        return NPERR_GENERIC_ERROR;
    if (!npp)
        return NPERR_INVALID_INSTANCE_ERROR;
    PluginInstance* instance = instanceOf(npp);
    if (!instance)
        return NPERR_GENERIC_ERROR;
    HWND handle = static_cast<HWND>(window->window);
    if (!handle) {
        tearDown(*instance);
        return NPERR_NO_ERROR;
    }
    if (!instance->window) {
        instance->window = PluginWindow::create(handle, thisModule(), process(), gBrowser, npp);
        if (!instance->window)
            return NPERR_GENERIC_ERROR;
    }
    instance->window->repaint();
    return NPERR_NO_ERROR;
}

NPError newStream(NPP npp, NPMIMEType, NPStream* stream, NPBool, uint16_t* type) {
    PluginInstance* instance = instanceOf(npp);
    if (!instance)
        return NPERR_INVALID_INSTANCE_ERROR;
    if (!instance->haveBaseUrl) {
        // The first stream is the script: its folder is where relative files come from.
        instance->baseUrl = baseUrlOf(stream && stream->url ? stream->url : "");
        instance->haveBaseUrl = true;
    } else {
        instance->downloading = true;
    }
    if (stream)
        stream->pdata = instance;
    if (type)
        *type = NP_ASFILE;
    return NPERR_NO_ERROR;
}

NPError destroyStream(NPP npp, NPStream* stream, NPReason reason) {
    PluginInstance* instance = instanceOf(npp);
    if (!instance || !instance->downloading || !instance->window)
        return NPERR_NO_ERROR;
    instance->downloading = false;
    PluginWindow::Use use(*instance->window);
    PluginSession& session = instance->window->session();
    if (reason == NPRES_DONE)
        session.downloadError(stream && stream->url ? stream->url : "");
    else
        session.abortInstallation();
    return NPERR_NO_ERROR;
}

void streamAsFile(NPP npp, NPStream*, const char* fname) {
    PluginInstance* instance = instanceOf(npp);
    if (!instance || !instance->window)
        return;
    PluginWindow& window = *instance->window;
    PluginWindow::Use use(window);
    PluginSession& session = window.session();
    const bool noFile = !fname || !*fname;
    if (session.started()) {
        // A required file without a name: the stream's end says what went wrong.
        if (noFile && session.isRequired())
            return;
        instance->downloading = false;
        session.deliver(fname);
        return;
    }
    if (noFile)
        return; // no script: the instance stays idle
    // A drive that is not ready makes calls fail rather than ask the user.
    SetErrorMode(SetErrorMode(SEM_FAILCRITICALERRORS) | SEM_FAILCRITICALERRORS);
    if (session.start(fname, instance->baseUrl))
        window.repaint();
}

int32_t writeReady(NPP, NPStream*) {
    return 0x0FFFFFFF;
}

int32_t write(NPP, NPStream*, int32_t, int32_t length, void*) {
    return length; // the file the stream ends in is what counts
}

void print(NPP, NPPrint*) {}

} // namespace
} // namespace kestrel::host::win32

using namespace kestrel::host::win32;

extern "C" {

NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* funcs) {
    if (!funcs || funcs->size < kPluginFuncsThroughEvent)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    funcs->newp = newInstance;
    funcs->destroy = destroyInstance;
    funcs->setwindow = setWindow;
    funcs->newstream = newStream;
    funcs->destroystream = destroyStream;
    funcs->asfile = streamAsFile;
    funcs->writeready = writeReady;
    funcs->write = write;
    funcs->print = print;
    funcs->event = nullptr;
    funcs->version = (NP_VERSION_MAJOR << 8) | 6;
    return NPERR_NO_ERROR;
}

NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browser) {
    if (!browser)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    gBrowser = browser;
    if ((browser->version >> 8) != NP_VERSION_MAJOR)
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    if (browser->size < kNetscapeFuncsThroughReloadPlugins)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    return NPERR_NO_ERROR;
}

NPError NP_EXPORT_CALL NP_Shutdown() {
    gBrowser = nullptr;
    return NPERR_NO_ERROR;
}

int NP_EXPORT_CALL KestrelInstallationOutcome() {
    return process().outcome;
}

} // extern "C"
