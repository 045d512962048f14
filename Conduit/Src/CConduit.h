// The conduit's module object and its six entry points, the ones the HotSync manager finds by
// name (C calling convention, 32-bit arguments and results; AutolarkPalmConduit.def exports them
// and nothing else).
//
// The conduit folder: CORE\USER\CREATOR\, from the manager's core folder, the HotSync user's
// folder and the folder of the creator id aLRK; the conduit's settings live there. Failing to
// find it is a fatal error of this unit (lines 307, 309, 332, 339).
#pragma once

#include <windows.h>

#include "framework/ComInit.h"
#include "framework/Module.h"
#include "framework/String.h"
#include "sdk/hotsync/HotSync.h"

class CConduit : public CAppModule {
public:
    CConduit();

    // The library entry function's work: ModuleHandle for every reason; on process attach COM
    // for the thread, then the module; on process detach the module, then COM, which is let go
    // only when this library's own initialisation took (so a thread of the host in another
    // apartment keeps its COM).
    BOOL OnLibraryEntry(HINSTANCE instance, DWORD reason);

    CStringA GetConduitFolder(const char* userName);
    CStringA GetUserFolder(const char* userName);
    // Loads the settings of folder + "Settings.ini", runs the HotSync-action dialog on the
    // request and, when it is confirmed, saves the conflict rule there (a failure to save throws
    // "Can't save conduit settings"). True when confirmed.
    bool ShowConfiguration(ConduitConfigRequest* request, const char* folder);

    // The library's module handle: its string table, its file's version resource, its dialogs.
    HINSTANCE ModuleHandle;
    // The conflict rule of two-way runs: 0 the desktop's record wins, 1 the handheld's, 2 both are
    // kept (the desktop's as a new record). Loaded from the settings before every run and every
    // configuration.
    long ConflictsResolving;

private:
    CComInit m_com;  // the thread's COM as this library initialised it, from process attach to detach
};

// The one module object of the library.
extern CConduit g_Conduit;

// The creator id of the handheld application, "aLRK".
const char* GetCreatorStr();

extern "C" {
long OpenConduit(HsProgressFn progress, HotSyncRunInfo* runInfo);
long GetConduitName(char* name, WORD length);
long GetConduitVersion();
long ConfigureConduit(HotSyncActionPrefs* prefs);
long GetConduitInfo(long infoType, void* input, void* output, DWORD* size);
long CfgConduit(long configType, void* request, DWORD* size);
}
