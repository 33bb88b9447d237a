// A small plug-in for the host's own end-to-end tests. Its "script" (the first stream) is a
// list of commands:
//
//   GET url          ask the browser for a file (NPN_GetURL, no target)
//   WAIT             go on once every requested stream has ended
//   MSGBOX kind text a message box owned by the plug-in window; kind OK, YESNO or OKCANCEL
//   MODAL caption    the components dialog (an edit and three options), modal
//   PROGRESS         a modeless dialog with the progress bars' controls 102 and 800
//   MODELESS         a modeless note without owner
//   CLOSE            closes the modeless windows
//   LEAVE            asks the browser to leave the page (WM_COMMAND 0x800C to its frame)
//   OUTCOME n        what KestrelInstallationOutcome answers (-1 until set)
//
// Built a second time without KestrelInstallationOutcome, as a plug-in that does not report.
// Everything the browser does to it goes, one JSON object per line, to the file named by the
// environment variable KESTREL_TEST_PLUGIN_LOG.
#include "host/npapi.h"

#include <nlohmann/json.hpp>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_RUN_SCRIPT = WM_APP + 100;

struct StreamData {
    bool first = false;
    int64_t written = 0;
};

struct State {
    NPNetscapeFuncs* browser = nullptr;
    HINSTANCE module = nullptr;
    NPP npp = nullptr;
    HWND window = nullptr;
    WNDPROC previousProc = nullptr;
    HWND status = nullptr;
    WNDPROC previousStatusProc = nullptr;
    std::string lastStatus;
    bool haveScript = false;
    std::vector<std::string> commands;
    size_t next = 0;
    int outstanding = 0;
    bool waiting = false;
    std::vector<HWND> modeless;
    int outcome = -1;
};

State state;

void log(const nlohmann::json& entry) {
    const char* path = std::getenv("KESTREL_TEST_PLUGIN_LOG");
    if (path == nullptr) {
        return;
    }
    std::ofstream out(path, std::ios::app | std::ios::binary);
    out << entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

int64_t unixSeconds(const FILETIME& time) {
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    return int64_t(value.QuadPart / 10000000ULL) - 11644473600LL;
}

std::string text(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

void runScript();

INT_PTR CALLBACK componentsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowTextA(dialog, reinterpret_cast<const char*>(lParam));
        CheckDlgButton(dialog, 202, BST_CHECKED);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        std::vector<int> checks;
        for (int id = 202; id <= 204; ++id) {
            checks.push_back(IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0);
        }
        log({{"event", "modal"},
             {"result", LOWORD(wParam)},
             {"edit", text(GetDlgItem(dialog, 201))},
             {"checks", checks}});
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK modelessProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

LRESULT CALLBACK statusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        std::string now = text(window);
        if (now != state.lastStatus) {
            state.lastStatus = now;
            log({{"event", "status"}, {"text", now}});
        }
    }
    return CallWindowProcA(state.previousStatusProc, window, message, wParam, lParam);
}

LRESULT CALLBACK pluginProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RUN_SCRIPT) {
        runScript();
        return 0;
    }
    return CallWindowProcA(state.previousProc, window, message, wParam, lParam);
}

void runCommand(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    std::string rest;
    std::getline(in >> std::ws, rest);
    if (verb == "GET") {
        NPError result = state.browser->geturl(state.npp, rest.c_str(), nullptr);
        if (result == NPERR_NO_ERROR) {
            ++state.outstanding;
        }
        log({{"event", "geturl"}, {"url", rest}, {"result", result}});
    } else if (verb == "WAIT") {
        state.waiting = state.outstanding > 0;
    } else if (verb == "MSGBOX") {
        std::string kind = rest.substr(0, rest.find(' '));
        std::string message = rest.substr(kind.size() + 1);
        UINT type = kind == "YESNO"      ? MB_YESNO | MB_ICONQUESTION
                    : kind == "OKCANCEL" ? MB_OKCANCEL
                                         : MB_OK | MB_ICONEXCLAMATION;
        int result = MessageBoxA(state.window, message.c_str(), "Test question", type);
        log({{"event", "msgbox"}, {"text", message}, {"result", result}});
    } else if (verb == "MODAL") {
        INT_PTR result = DialogBoxParamA(state.module, MAKEINTRESOURCEA(200), state.window,
                                         componentsProc, LPARAM(rest.c_str()));
        log({{"event", "modal-end"}, {"result", result}});
    } else if (verb == "PROGRESS" || verb == "MODELESS") {
        HWND parent = verb == "PROGRESS" ? state.window : nullptr;
        HWND dialog =
            CreateDialogParamA(state.module, MAKEINTRESOURCEA(verb == "PROGRESS" ? 100 : 300),
                               parent, modelessProc, 0);
        state.modeless.push_back(dialog);
        log({{"event", "modeless"}, {"kind", verb}, {"created", dialog != nullptr}});
    } else if (verb == "CLOSE") {
        for (HWND dialog : state.modeless) {
            DestroyWindow(dialog);
        }
        state.modeless.clear();
    } else if (verb == "LEAVE") {
        PostMessageA(GetAncestor(state.window, GA_ROOT), WM_COMMAND, 0x800C, 0);
        log({{"event", "leave"}});
    } else if (verb == "OUTCOME") {
        state.outcome = std::atoi(rest.c_str());
    } else if (!verb.empty()) {
        log({{"event", "unknown-command"}, {"line", line}});
    }
}

// Runs commands until one waits for streams; a message box or dialog pumps messages meanwhile,
// so a stream may end while a command runs.
void runScript() {
    static bool running = false;
    if (running) {
        return;
    }
    running = true;
    while (!state.waiting && state.next < state.commands.size() && state.window != nullptr) {
        runCommand(state.commands[state.next++]);
    }
    running = false;
}

NPError newInstance(NPMIMEType type, NPP instance, uint16_t mode, int16_t argc, char** argn,
                    char** argv, NPSavedData*) {
    nlohmann::json attributes = nlohmann::json::object();
    for (int i = 0; i < argc; ++i) {
        attributes[argn[i]] = argv[i];
    }
    log({{"event", "new"}, {"type", type}, {"mode", mode}, {"attributes", attributes}});
    state.npp = instance;
    instance->pdata = state.browser->memalloc(16);
    return NPERR_NO_ERROR;
}

void restoreWindows() {
    if (state.status != nullptr) {
        SetWindowLongPtrA(state.status, GWLP_WNDPROC, LONG_PTR(state.previousStatusProc));
        state.status = nullptr;
    }
    if (state.window != nullptr) {
        SetWindowLongPtrA(state.window, GWLP_WNDPROC, LONG_PTR(state.previousProc));
        state.window = nullptr;
    }
}

NPError destroyInstance(NPP instance, NPSavedData**) {
    log({{"event", "destroy"}});
    for (HWND dialog : state.modeless) {
        DestroyWindow(dialog);
    }
    state.modeless.clear();
    restoreWindows();
    state.browser->memfree(instance->pdata);
    state.npp = nullptr;
    return NPERR_NO_ERROR;
}

NPError setWindow(NPP, NPWindow* window) {
    HWND hwnd = HWND(window->window);
    HWND top = GetAncestor(hwnd, GA_ROOT);
    HWND second = GetWindow(hwnd, GW_HWNDNEXT);
    char cls[64] = {};
    GetClassNameA(second, cls, sizeof cls);
    log({{"event", "setwindow"},
         {"width", window->width},
         {"height", window->height},
         {"first_child", GetWindow(top, GW_CHILD) == hwnd},
         {"status_class", cls},
         {"status_text", text(second)},
         {"maximizable", (GetWindowLongA(top, GWL_STYLE) & WS_MAXIMIZEBOX) != 0}});
    if (state.window == nullptr) {
        state.window = hwnd;
        state.previousProc = WNDPROC(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(pluginProc)));
        state.status = second;
        state.previousStatusProc =
            WNDPROC(SetWindowLongPtrA(second, GWLP_WNDPROC, LONG_PTR(statusProc)));
    }
    return NPERR_NO_ERROR;
}

NPError newStream(NPP, NPMIMEType type, NPStream* stream, NPBool, uint16_t* stype) {
    auto* data = new StreamData;
    data->first = !state.haveScript;
    state.haveScript = true;
    stream->pdata = data;
    log({{"event", "newstream"},
         {"url", stream->url},
         {"type", type},
         {"end", stream->end},
         {"lastmodified", stream->lastmodified}});
    *stype = NP_ASFILE;
    return NPERR_NO_ERROR;
}

int32_t writeReady(NPP, NPStream*) {
    return 0x0FFFFFFF;
}

int32_t write(NPP, NPStream* stream, int32_t, int32_t len, void*) {
    static_cast<StreamData*>(stream->pdata)->written += len;
    return len;
}

void streamAsFile(NPP, NPStream* stream, const char* fname) {
    auto* data = static_cast<StreamData*>(stream->pdata);
    nlohmann::json entry = {{"event", "asfile"},
                            {"url", stream->url},
                            {"fname", fname ? nlohmann::json(fname) : nlohmann::json()},
                            {"written", data->written}};
    if (fname != nullptr) {
        WIN32_FILE_ATTRIBUTE_DATA info{};
        if (GetFileAttributesExA(fname, GetFileExInfoStandard, &info)) {
            entry["size"] = (int64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
            entry["mtime"] = unixSeconds(info.ftLastWriteTime);
        }
    }
    log(entry);
    if (data->first && fname != nullptr) {
        std::ifstream in(fname);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            state.commands.push_back(line);
        }
        PostMessageA(state.window, WM_RUN_SCRIPT, 0, 0);
    }
}

NPError destroyStream(NPP, NPStream* stream, NPReason reason) {
    auto* data = static_cast<StreamData*>(stream->pdata);
    log({{"event", "destroystream"}, {"url", stream->url}, {"reason", reason}});
    if (!data->first && --state.outstanding == 0 && state.waiting) {
        state.waiting = false;
        PostMessageA(state.window, WM_RUN_SCRIPT, 0, 0);
    }
    delete data;
    return NPERR_NO_ERROR;
}

void print(NPP, NPPrint*) {}

} // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        state.module = module;
    }
    return TRUE;
}

extern "C" {

NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* funcs) {
    log({{"event", "getentrypoints"}, {"size", funcs ? funcs->size : 0}});
    if (funcs == nullptr || funcs->size < kPluginFuncsThroughEvent) {
        return NPERR_INVALID_FUNCTABLE_ERROR;
    }
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
    funcs->version = 6;
    return NPERR_NO_ERROR;
}

NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browser) {
    log({{"event", "initialize"},
         {"size", browser ? browser->size : 0},
         {"version", browser ? browser->version : 0}});
    if (browser == nullptr || browser->size < kNetscapeFuncsThroughReloadPlugins) {
        return NPERR_INVALID_FUNCTABLE_ERROR;
    }
    state.browser = browser;
    return NPERR_NO_ERROR;
}

NPError NP_EXPORT_CALL NP_Shutdown() {
    log({{"event", "shutdown"}});
    state.browser = nullptr;
    return NPERR_NO_ERROR;
}

#ifndef KESTREL_TEST_NO_OUTCOME
int NP_EXPORT_CALL KestrelInstallationOutcome() {
    log({{"event", "outcome"}, {"value", state.outcome}});
    return state.outcome;
}
#endif
}
