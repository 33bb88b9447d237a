// The browser's function table handed to NP_Initialize. Every entry is filled: the ones the
// host serves call into the running session; the rest answer as a browser without that
// feature does (an error code, 0 or null).
#pragma once

#include "host/npapi.h"

namespace kestrel::host {

// What the session provides to the table's functions.
class BrowserServices {
  public:
    virtual ~BrowserServices() = default;
    virtual NPError getUrl(NPP instance, const char* url, const char* target, bool notify,
                           void* notifyData) = 0;
    virtual void* frameWindow() = 0;
    virtual void invalidatePlugin() = 0;
};

// One session at a time: the table's functions reach it through this pointer.
void setBrowserServices(BrowserServices* services);
NPNetscapeFuncs makeBrowserFuncs();

} // namespace kestrel::host
