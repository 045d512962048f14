// The ActiveSync manager double's commands, as alk_activesync_manager.exe runs them:
//
//   register DLL | unregister DLL      loads the library and calls its DllRegisterServer or
//                                      DllUnregisterServer; logs the result
//   options [--profile N]              the store's information dialog: ActivateDialog(0), owned
//                                      by the manager's window; logs the result
//   info [--profile N]                 GetObjTypeUIData: the texts and the icons' sizes
//   sync --state FILE [--profile N] [--selected] [--remote] [--conflicts desktop|device]
//        [--pause-in-enumeration EVENT]
//                                      one synchronisation (CSyncRun); --selected and --remote are
//                                      Initialize's flags; EVENT: after the first item of the
//                                      enumeration the run sets the event "EVENT.paused" (when it
//                                      exists) and waits until EVENT is set
//   every command: [--log FILE]        the log in FILE (replaced), else on the standard output
//
// No command, an unknown one or a bad option prints these usage lines on the standard error. The
// exit code is a ManagerExit (SyncRun.h).
#pragma once

#include <string>

#include "sdk/activesync/manager/ManagerLog.h"

// The command line without the program's name; a ManagerExit.
int AlkManagerMain(int argc, char** argv);

// The library's export `exportName` (DllRegisterServer, DllUnregisterServer), logged.
int CallServerExport(const std::string& library, const char* exportName, CManagerLog& log);
// The store's dialog 0 (options) or its user-interface data (info).
int ShowOptions(bool hasProfile, unsigned long profile, CManagerLog& log);
int ShowInfo(bool hasProfile, unsigned long profile, CManagerLog& log);
