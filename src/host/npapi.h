// The Netscape Plugin API as a Windows plug-in and its browser share it: records, function
// tables, signatures and constants. Plain C++ types only, so that code without OS headers can
// include it.
//
// Conventions: the three exports (and our outcome export) are stdcall on 32-bit Windows and
// exported undecorated; every function reached through a table is cdecl. On x86_64 there is
// one convention and the keywords mean nothing. Tables only ever grew at the end, so a table
// whose size covers a field has that field; the "through" sizes below say how far a size must
// reach for a field to be there.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define NP_EXPORT_CALL __stdcall
#else
#define NP_EXPORT_CALL
#endif

using NPBool = unsigned char;
using NPError = int16_t;
using NPReason = int16_t;
using NPMIMEType = char*;
using NPUTF8 = char;

struct NPP_t {
    void* pdata; // the plug-in's
    void* ndata; // the browser's
};
using NPP = NPP_t*;

struct NPStream {
    void* pdata;
    void* ndata;
    const char* url;
    uint32_t end;          // length in bytes, 0 when unknown
    uint32_t lastmodified; // seconds since 1970-01-01 00:00 GMT, 0 when unknown
    void* notifyData;
    const char* headers; // later browsers only; a plug-in reporting version 6 never reads it
};

struct NPRect {
    uint16_t top;
    uint16_t left;
    uint16_t bottom;
    uint16_t right;
};

enum NPWindowType : int32_t { NPWindowTypeWindow = 1, NPWindowTypeDrawable = 2 };

struct NPWindow {
    void* window; // the HWND of the plug-in's child window
    int32_t x;
    int32_t y;
    uint32_t width;
    uint32_t height;
    NPRect clipRect;
    NPWindowType type;
};

struct NPSavedData {
    int32_t len;
    void* buf;
};

struct NPByteRange {
    int32_t offset;
    uint32_t length;
    NPByteRange* next;
};

struct NPPrint; // only passed through

// Opaque records of the scripting and drawing additions: a browser that does not offer those
// features never dereferences them.
struct NPObject;
struct NPClass;
struct NPVariant;
struct NPString;
struct NPMenu;
struct NPSize;
struct NPAsyncSurface;
using NPIdentifier = void*;
using NPRegion = void*;

constexpr NPError NPERR_NO_ERROR = 0;
constexpr NPError NPERR_GENERIC_ERROR = 1;
constexpr NPError NPERR_INVALID_INSTANCE_ERROR = 2;
constexpr NPError NPERR_INVALID_FUNCTABLE_ERROR = 3;
constexpr NPError NPERR_MODULE_LOAD_FAILED_ERROR = 4;
constexpr NPError NPERR_OUT_OF_MEMORY_ERROR = 5;
constexpr NPError NPERR_INVALID_PLUGIN_ERROR = 6;
constexpr NPError NPERR_INVALID_PLUGIN_DIR_ERROR = 7;
constexpr NPError NPERR_INCOMPATIBLE_VERSION_ERROR = 8;
constexpr NPError NPERR_INVALID_PARAM = 9;
constexpr NPError NPERR_INVALID_URL = 10;
constexpr NPError NPERR_FILE_NOT_FOUND = 11;
constexpr NPError NPERR_NO_DATA = 12;
constexpr NPError NPERR_STREAM_NOT_SEEKABLE = 13;

constexpr NPReason NPRES_DONE = 0;
constexpr NPReason NPRES_NETWORK_ERR = 1;
constexpr NPReason NPRES_USER_BREAK = 2;

constexpr uint16_t NP_NORMAL = 1;
constexpr uint16_t NP_SEEK = 2;
constexpr uint16_t NP_ASFILE = 3;
constexpr uint16_t NP_ASFILEONLY = 4;
constexpr uint16_t NP_EMBED = 1;
constexpr uint16_t NP_FULL = 2;
constexpr int32_t NP_MAXREADY = 0x7FFFFFFF;

constexpr int NP_VERSION_MAJOR = 0;

// The plug-in's functions, in table order.
using NPP_NewProcPtr = NPError (*)(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc,
                                   char** argn, char** argv, NPSavedData* saved);
using NPP_DestroyProcPtr = NPError (*)(NPP instance, NPSavedData** save);
using NPP_SetWindowProcPtr = NPError (*)(NPP instance, NPWindow* window);
using NPP_NewStreamProcPtr = NPError (*)(NPP instance, NPMIMEType type, NPStream* stream,
                                         NPBool seekable, uint16_t* stype);
using NPP_DestroyStreamProcPtr = NPError (*)(NPP instance, NPStream* stream, NPReason reason);
using NPP_StreamAsFileProcPtr = void (*)(NPP instance, NPStream* stream, const char* fname);
using NPP_WriteReadyProcPtr = int32_t (*)(NPP instance, NPStream* stream);
using NPP_WriteProcPtr = int32_t (*)(NPP instance, NPStream* stream, int32_t offset, int32_t len,
                                     void* buffer);
using NPP_PrintProcPtr = void (*)(NPP instance, NPPrint* platformPrint);
using NPP_HandleEventProcPtr = int16_t (*)(NPP instance, void* event);
using NPP_URLNotifyProcPtr = void (*)(NPP instance, const char* url, NPReason reason,
                                      void* notifyData);
using NPP_GetValueProcPtr = NPError (*)(NPP instance, int32_t variable, void* value);
using NPP_SetValueProcPtr = NPError (*)(NPP instance, int32_t variable, void* value);
using NPP_GotFocusProcPtr = NPBool (*)(NPP instance, int32_t direction);
using NPP_LostFocusProcPtr = void (*)(NPP instance);
using NPP_URLRedirectNotifyProcPtr = void (*)(NPP instance, const char* url, int32_t status,
                                              void* notifyData);
using NPP_ClearSiteDataProcPtr = NPError (*)(const char* site, uint64_t flags, uint64_t maxAge);
using NPP_GetSitesWithDataProcPtr = char** (*)();
using NPP_DidCompositeProcPtr = void (*)(NPP instance);

struct NPPluginFuncs {
    uint16_t size;
    uint16_t version;
    NPP_NewProcPtr newp;
    NPP_DestroyProcPtr destroy;
    NPP_SetWindowProcPtr setwindow;
    NPP_NewStreamProcPtr newstream;
    NPP_DestroyStreamProcPtr destroystream;
    NPP_StreamAsFileProcPtr asfile;
    NPP_WriteReadyProcPtr writeready;
    NPP_WriteProcPtr write;
    NPP_PrintProcPtr print;
    NPP_HandleEventProcPtr event;
    NPP_URLNotifyProcPtr urlnotify;
    void* javaClass;
    NPP_GetValueProcPtr getvalue;
    NPP_SetValueProcPtr setvalue;
    NPP_GotFocusProcPtr gotfocus;
    NPP_LostFocusProcPtr lostfocus;
    NPP_URLRedirectNotifyProcPtr urlredirectnotify;
    NPP_ClearSiteDataProcPtr clearsitedata;
    NPP_GetSitesWithDataProcPtr getsiteswithdata;
    NPP_DidCompositeProcPtr didComposite;
};

// The browser's functions, in table order.
using NPN_GetURLProcPtr = NPError (*)(NPP instance, const char* url, const char* target);
using NPN_PostURLProcPtr = NPError (*)(NPP instance, const char* url, const char* target,
                                       uint32_t len, const char* buf, NPBool file);
using NPN_RequestReadProcPtr = NPError (*)(NPStream* stream, NPByteRange* rangeList);
using NPN_NewStreamProcPtr = NPError (*)(NPP instance, NPMIMEType type, const char* target,
                                         NPStream** stream);
using NPN_WriteProcPtr = int32_t (*)(NPP instance, NPStream* stream, int32_t len, void* buffer);
using NPN_DestroyStreamProcPtr = NPError (*)(NPP instance, NPStream* stream, NPReason reason);
using NPN_StatusProcPtr = void (*)(NPP instance, const char* message);
using NPN_UserAgentProcPtr = const char* (*)(NPP instance);
using NPN_MemAllocProcPtr = void* (*)(uint32_t size);
using NPN_MemFreeProcPtr = void (*)(void* ptr);
using NPN_MemFlushProcPtr = uint32_t (*)(uint32_t size);
using NPN_ReloadPluginsProcPtr = void (*)(NPBool reloadPages);
using NPN_GetJavaEnvProcPtr = void* (*)();
using NPN_GetJavaPeerProcPtr = void* (*)(NPP instance);
using NPN_GetURLNotifyProcPtr = NPError (*)(NPP instance, const char* url, const char* target,
                                            void* notifyData);
using NPN_PostURLNotifyProcPtr = NPError (*)(NPP instance, const char* url, const char* target,
                                             uint32_t len, const char* buf, NPBool file,
                                             void* notifyData);
using NPN_GetValueProcPtr = NPError (*)(NPP instance, int32_t variable, void* value);
using NPN_SetValueProcPtr = NPError (*)(NPP instance, int32_t variable, void* value);
using NPN_InvalidateRectProcPtr = void (*)(NPP instance, NPRect* rect);
using NPN_InvalidateRegionProcPtr = void (*)(NPP instance, NPRegion region);
using NPN_ForceRedrawProcPtr = void (*)(NPP instance);
// Scripting, threads, timers and drawing, added later.
using NPN_GetStringIdentifierProcPtr = NPIdentifier (*)(const NPUTF8* name);
using NPN_GetStringIdentifiersProcPtr = void (*)(const NPUTF8** names, int32_t nameCount,
                                                 NPIdentifier* identifiers);
using NPN_GetIntIdentifierProcPtr = NPIdentifier (*)(int32_t intid);
using NPN_IdentifierIsStringProcPtr = bool (*)(NPIdentifier identifier);
using NPN_UTF8FromIdentifierProcPtr = NPUTF8* (*)(NPIdentifier identifier);
using NPN_IntFromIdentifierProcPtr = int32_t (*)(NPIdentifier identifier);
using NPN_CreateObjectProcPtr = NPObject* (*)(NPP npp, NPClass* aClass);
using NPN_RetainObjectProcPtr = NPObject* (*)(NPObject* obj);
using NPN_ReleaseObjectProcPtr = void (*)(NPObject* obj);
using NPN_InvokeProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier methodName,
                                   const NPVariant* args, uint32_t argCount, NPVariant* result);
using NPN_InvokeDefaultProcPtr = bool (*)(NPP npp, NPObject* obj, const NPVariant* args,
                                          uint32_t argCount, NPVariant* result);
using NPN_EvaluateProcPtr = bool (*)(NPP npp, NPObject* obj, NPString* script, NPVariant* result);
using NPN_GetPropertyProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier propertyName,
                                        NPVariant* result);
using NPN_SetPropertyProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier propertyName,
                                        const NPVariant* value);
using NPN_RemovePropertyProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier propertyName);
using NPN_HasPropertyProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier propertyName);
using NPN_HasMethodProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier propertyName);
using NPN_ReleaseVariantValueProcPtr = void (*)(NPVariant* variant);
using NPN_SetExceptionProcPtr = void (*)(NPObject* obj, const NPUTF8* message);
using NPN_PushPopupsEnabledStateProcPtr = void (*)(NPP npp, NPBool enabled);
using NPN_PopPopupsEnabledStateProcPtr = void (*)(NPP npp);
using NPN_EnumerateProcPtr = bool (*)(NPP npp, NPObject* obj, NPIdentifier** identifier,
                                      uint32_t* count);
using NPN_PluginThreadAsyncCallProcPtr = void (*)(NPP instance, void (*func)(void*),
                                                  void* userData);
using NPN_ConstructProcPtr = bool (*)(NPP npp, NPObject* obj, const NPVariant* args,
                                      uint32_t argCount, NPVariant* result);
using NPN_GetValueForURLPtr = NPError (*)(NPP npp, int32_t variable, const char* url, char** value,
                                          uint32_t* len);
using NPN_SetValueForURLPtr = NPError (*)(NPP npp, int32_t variable, const char* url,
                                          const char* value, uint32_t len);
using NPN_GetAuthenticationInfoPtr = NPError (*)(NPP npp, const char* protocol, const char* host,
                                                 int32_t port, const char* scheme,
                                                 const char* realm, char** username, uint32_t* ulen,
                                                 char** password, uint32_t* plen);
using NPN_ScheduleTimerPtr = uint32_t (*)(NPP instance, uint32_t interval, NPBool repeat,
                                          void (*timerFunc)(NPP npp, uint32_t timerID));
using NPN_UnscheduleTimerPtr = void (*)(NPP instance, uint32_t timerID);
using NPN_PopUpContextMenuPtr = NPError (*)(NPP instance, NPMenu* menu);
using NPN_ConvertPointPtr = NPBool (*)(NPP instance, double sourceX, double sourceY,
                                       int32_t sourceSpace, double* destX, double* destY,
                                       int32_t destSpace);
using NPN_HandleEventPtr = NPBool (*)(NPP instance, void* event, NPBool handled);
using NPN_UnfocusInstancePtr = NPBool (*)(NPP instance, int32_t direction);
using NPN_URLRedirectResponsePtr = void (*)(NPP instance, void* notifyData, NPBool allow);
using NPN_InitAsyncSurfacePtr = NPError (*)(NPP instance, NPSize* size, int32_t format,
                                            void* initData, NPAsyncSurface* surface);
using NPN_FinalizeAsyncSurfacePtr = NPError (*)(NPP instance, NPAsyncSurface* surface);
using NPN_SetCurrentAsyncSurfacePtr = void (*)(NPP instance, NPAsyncSurface* surface,
                                               NPRect* changed);

struct NPNetscapeFuncs {
    uint16_t size;
    uint16_t version;
    NPN_GetURLProcPtr geturl;
    NPN_PostURLProcPtr posturl;
    NPN_RequestReadProcPtr requestread;
    NPN_NewStreamProcPtr newstream;
    NPN_WriteProcPtr write;
    NPN_DestroyStreamProcPtr destroystream;
    NPN_StatusProcPtr status;
    NPN_UserAgentProcPtr uagent;
    NPN_MemAllocProcPtr memalloc;
    NPN_MemFreeProcPtr memfree;
    NPN_MemFlushProcPtr memflush;
    NPN_ReloadPluginsProcPtr reloadplugins;
    NPN_GetJavaEnvProcPtr getJavaEnv;
    NPN_GetJavaPeerProcPtr getJavaPeer;
    NPN_GetURLNotifyProcPtr geturlnotify;
    NPN_PostURLNotifyProcPtr posturlnotify;
    NPN_GetValueProcPtr getvalue;
    NPN_SetValueProcPtr setvalue;
    NPN_InvalidateRectProcPtr invalidaterect;
    NPN_InvalidateRegionProcPtr invalidateregion;
    NPN_ForceRedrawProcPtr forceredraw;
    NPN_GetStringIdentifierProcPtr getstringidentifier;
    NPN_GetStringIdentifiersProcPtr getstringidentifiers;
    NPN_GetIntIdentifierProcPtr getintidentifier;
    NPN_IdentifierIsStringProcPtr identifierisstring;
    NPN_UTF8FromIdentifierProcPtr utf8fromidentifier;
    NPN_IntFromIdentifierProcPtr intfromidentifier;
    NPN_CreateObjectProcPtr createobject;
    NPN_RetainObjectProcPtr retainobject;
    NPN_ReleaseObjectProcPtr releaseobject;
    NPN_InvokeProcPtr invoke;
    NPN_InvokeDefaultProcPtr invokeDefault;
    NPN_EvaluateProcPtr evaluate;
    NPN_GetPropertyProcPtr getproperty;
    NPN_SetPropertyProcPtr setproperty;
    NPN_RemovePropertyProcPtr removeproperty;
    NPN_HasPropertyProcPtr hasproperty;
    NPN_HasMethodProcPtr hasmethod;
    NPN_ReleaseVariantValueProcPtr releasevariantvalue;
    NPN_SetExceptionProcPtr setexception;
    NPN_PushPopupsEnabledStateProcPtr pushpopupsenabledstate;
    NPN_PopPopupsEnabledStateProcPtr poppopupsenabledstate;
    NPN_EnumerateProcPtr enumerate;
    NPN_PluginThreadAsyncCallProcPtr pluginthreadasynccall;
    NPN_ConstructProcPtr construct;
    NPN_GetValueForURLPtr getvalueforurl;
    NPN_SetValueForURLPtr setvalueforurl;
    NPN_GetAuthenticationInfoPtr getauthenticationinfo;
    NPN_ScheduleTimerPtr scheduletimer;
    NPN_UnscheduleTimerPtr unscheduletimer;
    NPN_PopUpContextMenuPtr popupcontextmenu;
    NPN_ConvertPointPtr convertpoint;
    NPN_HandleEventPtr handleevent;
    NPN_UnfocusInstancePtr unfocusinstance;
    NPN_URLRedirectResponsePtr urlredirectresponse;
    NPN_InitAsyncSurfacePtr initasyncsurface;
    NPN_FinalizeAsyncSurfacePtr finalizeasyncsurface;
    NPN_SetCurrentAsyncSurfacePtr setcurrentasyncsurface;
};

// How far a table's size must reach for a field to be present. The first-generation tables: a
// plug-in table through `event`, a browser table through `reloadplugins`. 44 and 52 bytes on i686,
// 88 and 104 on x86_64.
constexpr std::size_t kPluginFuncsThroughEvent = offsetof(NPPluginFuncs, event) + sizeof(void*);
constexpr std::size_t kNetscapeFuncsThroughReloadPlugins =
    offsetof(NPNetscapeFuncs, reloadplugins) + sizeof(void*);
constexpr std::size_t kPluginFuncsThroughUrlNotify =
    offsetof(NPPluginFuncs, urlnotify) + sizeof(void*);

// Exports of a plug-in DLL.
using NP_GetEntryPointsFunc = NPError(NP_EXPORT_CALL*)(NPPluginFuncs* pluginFuncs);
using NP_InitializeFunc = NPError(NP_EXPORT_CALL*)(NPNetscapeFuncs* browserFuncs);
using NP_ShutdownFunc = NPError(NP_EXPORT_CALL*)();
// Our one extra export, which a browser never looks up: how the installation ended.
using KestrelInstallationOutcomeFunc = int(NP_EXPORT_CALL*)();
enum KestrelOutcome : int { kOutcomeCompleted = 0, kOutcomeFailed = 1, kOutcomeNotRun = -1 };

// The published 32-bit layouts; a 64-bit build has its own, checked through offsetof above.
static_assert(sizeof(void*) != 4 || sizeof(NPP_t) == 8);
static_assert(sizeof(void*) != 4 ||
              (offsetof(NPStream, url) == 8 && offsetof(NPStream, end) == 12 &&
               offsetof(NPStream, lastmodified) == 16 && offsetof(NPStream, notifyData) == 20 &&
               sizeof(NPStream) == 28));
static_assert(sizeof(NPRect) == 8);
static_assert(sizeof(void*) != 4 || (offsetof(NPWindow, clipRect) == 20 &&
                                     offsetof(NPWindow, type) == 28 && sizeof(NPWindow) == 32));
static_assert(sizeof(void*) != 4 || sizeof(NPSavedData) == 8);
static_assert(sizeof(void*) != 4 ||
              (offsetof(NPPluginFuncs, newp) == 4 && offsetof(NPPluginFuncs, print) == 36 &&
               offsetof(NPPluginFuncs, event) == 40 && kPluginFuncsThroughEvent == 44 &&
               offsetof(NPPluginFuncs, javaClass) == 48 && sizeof(NPPluginFuncs) == 84));
static_assert(sizeof(void*) != 4 || (offsetof(NPNetscapeFuncs, geturl) == 4 &&
                                     offsetof(NPNetscapeFuncs, memalloc) == 36 &&
                                     offsetof(NPNetscapeFuncs, memfree) == 40 &&
                                     kNetscapeFuncsThroughReloadPlugins == 52 &&
                                     offsetof(NPNetscapeFuncs, posturlnotify) == 64 &&
                                     offsetof(NPNetscapeFuncs, forceredraw) == 84 &&
                                     offsetof(NPNetscapeFuncs, getstringidentifier) == 88 &&
                                     sizeof(NPNetscapeFuncs) == 236));
static_assert(sizeof(void*) != 8 ||
              (kPluginFuncsThroughEvent == 88 && kNetscapeFuncsThroughReloadPlugins == 104 &&
               sizeof(NPStream) == 48 && sizeof(NPWindow) == 40 && sizeof(NPPluginFuncs) == 168 &&
               sizeof(NPNetscapeFuncs) == 472));
