#include "browser_functions.h"

#include <cstdlib>
#include <type_traits>

namespace kestrel::host {
namespace {

BrowserServices* services = nullptr;

constexpr int32_t kNPNVnetscapeWindow = 3;

NPError getUrl(NPP instance, const char* url, const char* target) {
    return services ? services->getUrl(instance, url, target, false, nullptr) : NPERR_GENERIC_ERROR;
}

NPError getUrlNotify(NPP instance, const char* url, const char* target, void* notifyData) {
    return services ? services->getUrl(instance, url, target, true, notifyData)
                    : NPERR_GENERIC_ERROR;
}

void* memAlloc(uint32_t size) {
    return std::malloc(size == 0 ? 1 : size);
}
void memFree(void* ptr) {
    std::free(ptr);
}
uint32_t memFlush(uint32_t) {
    return 0;
}
const char* userAgent(NPP) {
    return "Kestrel-Host/1.0 (Windows)";
}
void status(NPP, const char*) {}
void reloadPlugins(NPBool) {}
int32_t write(NPP, NPStream*, int32_t, void*) {
    return -1;
}

NPError getValue(NPP, int32_t variable, void* value) {
    if (variable == kNPNVnetscapeWindow && value != nullptr && services != nullptr) {
        *static_cast<void**>(value) = services->frameWindow();
        return NPERR_NO_ERROR;
    }
    return NPERR_GENERIC_ERROR;
}

void invalidateRect(NPP, NPRect*) {
    if (services) {
        services->invalidatePlugin();
    }
}
void invalidateRegion(NPP, NPRegion) {
    invalidateRect(nullptr, nullptr);
}
void forceRedraw(NPP) {
    invalidateRect(nullptr, nullptr);
}

// A feature the host does not offer: NPError functions report a generic error, the others
// return 0, false or null.
template <typename Pointer> struct Unsupported;
template <typename Result, typename... Args> struct Unsupported<Result (*)(Args...)> {
    static Result call(Args...) {
        if constexpr (std::is_same_v<Result, NPError>) {
            return NPERR_GENERIC_ERROR;
        } else if constexpr (!std::is_void_v<Result>) {
            return Result{};
        }
    }
};

template <typename Pointer> void unsupported(Pointer& slot) {
    slot = &Unsupported<Pointer>::call;
}

} // namespace

void setBrowserServices(BrowserServices* value) {
    services = value;
}

NPNetscapeFuncs makeBrowserFuncs() {
    NPNetscapeFuncs funcs{};
    funcs.size = sizeof funcs;
    funcs.version = (NP_VERSION_MAJOR << 8) | 29;
    funcs.geturl = getUrl;
    unsupported(funcs.posturl);
    unsupported(funcs.requestread);
    unsupported(funcs.newstream);
    funcs.write = write;
    unsupported(funcs.destroystream);
    funcs.status = status;
    funcs.uagent = userAgent;
    funcs.memalloc = memAlloc;
    funcs.memfree = memFree;
    funcs.memflush = memFlush;
    funcs.reloadplugins = reloadPlugins;
    unsupported(funcs.getJavaEnv);
    unsupported(funcs.getJavaPeer);
    funcs.geturlnotify = getUrlNotify;
    unsupported(funcs.posturlnotify);
    funcs.getvalue = getValue;
    unsupported(funcs.setvalue);
    funcs.invalidaterect = invalidateRect;
    funcs.invalidateregion = invalidateRegion;
    funcs.forceredraw = forceRedraw;
    unsupported(funcs.getstringidentifier);
    unsupported(funcs.getstringidentifiers);
    unsupported(funcs.getintidentifier);
    unsupported(funcs.identifierisstring);
    unsupported(funcs.utf8fromidentifier);
    unsupported(funcs.intfromidentifier);
    unsupported(funcs.createobject);
    unsupported(funcs.retainobject);
    unsupported(funcs.releaseobject);
    unsupported(funcs.invoke);
    unsupported(funcs.invokeDefault);
    unsupported(funcs.evaluate);
    unsupported(funcs.getproperty);
    unsupported(funcs.setproperty);
    unsupported(funcs.removeproperty);
    unsupported(funcs.hasproperty);
    unsupported(funcs.hasmethod);
    unsupported(funcs.releasevariantvalue);
    unsupported(funcs.setexception);
    unsupported(funcs.pushpopupsenabledstate);
    unsupported(funcs.poppopupsenabledstate);
    unsupported(funcs.enumerate);
    unsupported(funcs.pluginthreadasynccall);
    unsupported(funcs.construct);
    unsupported(funcs.getvalueforurl);
    unsupported(funcs.setvalueforurl);
    unsupported(funcs.getauthenticationinfo);
    unsupported(funcs.scheduletimer);
    unsupported(funcs.unscheduletimer);
    unsupported(funcs.popupcontextmenu);
    unsupported(funcs.convertpoint);
    unsupported(funcs.handleevent);
    unsupported(funcs.unfocusinstance);
    unsupported(funcs.urlredirectresponse);
    unsupported(funcs.initasyncsurface);
    unsupported(funcs.finalizeasyncsurface);
    unsupported(funcs.setcurrentasyncsurface);
    return funcs;
}

} // namespace kestrel::host
