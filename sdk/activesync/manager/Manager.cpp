#include "sdk/activesync/manager/Manager.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sdk/activesync/manager/ManagerWindow.h"
#include "sdk/activesync/manager/StoreHost.h"
#include "sdk/activesync/manager/SyncRun.h"

namespace {

// The pause of --pause-in-enumeration and --pause-after-receiving: EVENT.paused is set, then the
// run waits for EVENT.
void Pause(const std::string& name, const char* where, CManagerLog& log)
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    HANDLE paused = OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + ".paused").c_str());
    log.Line("paused %s until %s is set", where, name.c_str());
    log.Flush();
    if (paused) {
        SetEvent(paused);
        CloseHandle(paused);
    }
    if (go) {
        WaitForSingleObject(go, INFINITE);
        CloseHandle(go);
    }
}

// The store of the object type, made on a single-threaded apartment, for `work`.
template <class Work>
int WithStore(bool hasProfile, unsigned long profile, CManagerLog& log, Work work)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com)) return exitNoStore;
    int exit = exitDone;
    {
        CManagerWindow window;
        CStoreHost host(log);
        switch (host.Locate(hasProfile, profile)) {
        case CStoreHost::found: exit = host.Create() == CStoreHost::found ? exitDone : exitNoStore; break;
        case CStoreHost::disabled: exit = exitDisabled; break;
        case CStoreHost::noClass: exit = exitNoStore; break;
        default: exit = exitNotRegistered; break;
        }
        if (exit == exitDone) work(host.Store(), window.Handle());
        host.Release();
    }
    CoUninitialize();
    return exit;
}

// The commands, on the standard error; exitUsage.
int Usage()
{
    std::fprintf(stderr,
                 "usage: alk_activesync_manager register|unregister DLL [--log FILE]\n"
                 "       alk_activesync_manager options|info [--profile N] [--log FILE]\n"
                 "       alk_activesync_manager sync --state FILE [--profile N] [--selected] [--remote]\n"
                 "                              [--conflicts desktop|device] [--log FILE]\n"
                 "                              [--pause-in-enumeration EVENT | --pause-after-receiving EVENT]\n");
    return exitUsage;
}

int IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

}  // namespace

int CallServerExport(const std::string& library, const char* exportName, CManagerLog& log)
{
    // As regsvr32 does: the library's own folder is searched for what it imports.
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        log.Line("LoadLibrary(%s) failed: error %lu", library.c_str(), GetLastError());
        return exitNoLibrary;
    }
    typedef HRESULT(STDAPICALLTYPE * Export)();
    Export call = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, exportName)));
    int exit = exitNoLibrary;
    if (!call) {
        log.Line("%s has no export %s", library.c_str(), exportName);
    } else {
        const HRESULT hr = call();
        log.Result((std::string(exportName) + "()").c_str(), hr);
        exit = SUCCEEDED(hr) ? exitDone : exitExportFailed;
    }
    FreeLibrary(module);
    return exit;
}

int ShowOptions(bool hasProfile, unsigned long profile, CManagerLog& log)
{
    return WithStore(hasProfile, profile, log, [&](IReplStore* store, HWND window) {
        log.Flush();
        log.Result("ActivateDialog(0)", store->ActivateDialog(0, window, nullptr, nullptr));
    });
}

int ShowInfo(bool hasProfile, unsigned long profile, CManagerLog& log)
{
    return WithStore(hasProfile, profile, log, [&](IReplStore* store, HWND) {
        OBJUIDATA data = {};
        data.size = sizeof data;
        const HRESULT hr = store->GetObjTypeUIData(nullptr, &data);
        log.Result("GetObjTypeUIData()", hr);
        if (FAILED(hr)) return;
        log.Line("name=%s", data.name);
        log.Line("sync=%s", data.syncText);
        log.Line("type=%s", data.typeText);
        log.Line("plural=%s", data.pluralTypeText);
        log.Line("large icon=%d", IconSize(data.largeIcon));
        log.Line("small icon=%d", IconSize(data.smallIcon));
        if (data.largeIcon) DestroyIcon(data.largeIcon);
        if (data.smallIcon) DestroyIcon(data.smallIcon);
    });
}

int AlkManagerMain(int argc, char** argv)
{
    if (argc < 1) return Usage();
    const std::string command = argv[0];
    std::string library, logPath, pauseEvent;
    SyncOptions::Stage pauseStage = SyncOptions::afterFirstItem;
    SyncOptions options;
    bool usage = false;
    int i = 1;
    if ((command == "register" || command == "unregister") && argc > 1) library = argv[i++];
    for (; i < argc && !usage; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--log" && hasValue) {
            logPath = argv[++i];
        } else if (option == "--profile" && hasValue) {
            char* end = nullptr;
            options.profile = static_cast<DWORD>(std::strtol(argv[++i], &end, 10));
            options.hasProfile = true;
            usage = !end || *end;
        } else if (command == "sync" && option == "--state" && hasValue) {
            options.statePath = argv[++i];
        } else if (command == "sync" && option == "--selected") {
            options.initializeFlags |= REPL_INIT_SELECTED_DEVICE;
        } else if (command == "sync" && option == "--remote") {
            options.initializeFlags |= REPL_INIT_REMOTE;
        } else if (command == "sync" && option == "--conflicts" && hasValue) {
            const std::string rule = argv[++i];
            usage = rule != "desktop" && rule != "device";
            options.deviceWins = rule == "device";
        } else if (command == "sync" && option == "--pause-in-enumeration" && hasValue) {
            pauseEvent = argv[++i];
            pauseStage = SyncOptions::afterFirstItem;
        } else if (command == "sync" && option == "--pause-after-receiving" && hasValue) {
            pauseEvent = argv[++i];
            pauseStage = SyncOptions::afterFirstReceived;
        } else {
            usage = true;
        }
    }
    const bool known = command == "sync" || command == "options" || command == "info" ||
                       ((command == "register" || command == "unregister") && !library.empty());
    if (usage || !known || (command == "sync" && options.statePath.empty())) return Usage();

    CManagerLog log;
    if (logPath.empty()) {
        log.ToStandardOutput();
    } else if (!log.Open(logPath)) {
        std::fprintf(stderr, "cannot write the log %s\n", logPath.c_str());
        return exitUsage;
    }
    if (command == "register") return CallServerExport(library, "DllRegisterServer", log);
    if (command == "unregister") return CallServerExport(library, "DllUnregisterServer", log);
    if (command == "options") return ShowOptions(options.hasProfile, options.profile, log);
    if (command == "info") return ShowInfo(options.hasProfile, options.profile, log);

    if (!pauseEvent.empty()) {
        options.onStage = [&](SyncOptions::Stage stage) {
            if (stage != pauseStage) return;
            Pause(pauseEvent, stage == SyncOptions::afterFirstItem ? "in the enumeration" : "after receiving", log);
        };
    }
    return CSyncRun(options, log).Run();
}
