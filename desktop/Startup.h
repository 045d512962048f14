// The desktop program's process-wide objects and the pieces of its start-up: the window messages
// shared with other processes, the single-instance check and the bold interface font. The entry
// point and the run of the main window are in Autolark.cpp. Everything here belongs to the
// user-interface thread.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "common/SharedNames.h"  // ALK_RELOAD_DATA_MESSAGE
#include "framework/Module.h"

class CMainFrame;

// The program's framework module: instance handle and the message loop of the UI thread.
extern CAppModule _Module;
// The one database connection of the process. Connected by CMainFrame::OpenDatabase, closed by
// Run when the message loop ends; every view and dialog reaches the database through it.
extern CDataLayer g_DataLayer;
// The bold variant of the default GUI font for labels that stand out; made by CreateBoldFont,
// deleted by Run. Null outside a run.
extern HFONT g_hBoldFont;
// Registered messages: a second start asks the running program to come to the front
// ("ALK2005DESKTOP"); the synchronisation plug-ins ask it to reload its views.
extern UINT WM_ACTIVATE_INSTANCE;
extern UINT WM_RELOAD_DATA;
// The single-instance mutex; never closed (the system releases it when the process ends).
extern HANDLE SingleInstanceMutex;
// The main window while Run has one; null otherwise.
extern CMainFrame* g_pMainFrame;

// The text of the single-instance mutex name; one instance may run per desktop.
#define ALK_SINGLE_INSTANCE_GUID      L"{B18B4285-9393-49da-B10D-8A1517452C6F}"
#define ALK_ACTIVATE_INSTANCE_MESSAGE L"ALK2005DESKTOP"

// Who shares one single-instance mutex: every process of the machine (the GUID alone), or the
// processes of one desktop (the GUID, "-" and the desktop's name). The program uses the desktop.
enum ExclusionScope { UNIQUE_TO_SYSTEM = 0, UNIQUE_TO_DESKTOP = 1 };

// Registers WM_ACTIVATE_INSTANCE and WM_RELOAD_DATA, in that order.
void RegisterAppMessages();

// Writes the mutex name into buffer (MAX_PATH characters) and returns buffer. For the desktop
// scope the name of the calling thread's desktop is appended, cut to the room left; when that
// name cannot be read, "Win9x" stands in for it.
wchar_t* CreateExclusionName(const wchar_t* guid, wchar_t* buffer, ExclusionScope scope);
// The same with the desktop given (null: a desktop whose name cannot be read).
wchar_t* CreateExclusionNameForDesktop(const wchar_t* guid, wchar_t* buffer, HDESK desktop);

// Creates the single-instance mutex once per process and keeps its handle. True when another
// process already holds a mutex of that name (or may not open it); false for the first instance
// and for any later call in the process that made it.
bool IsAnotherInstanceRunning(const wchar_t* guid, ExclusionScope scope);

// Makes g_hBoldFont: the default GUI font at weight 700.
void CreateBoldFont();

// What a second start does instead of running: lets the process of the running instance's main
// window take the foreground (the system refuses it to a process that is not in the foreground
// unless the foreground process allows it), then broadcasts WM_ACTIVATE_INSTANCE, without
// waiting, for that window to come to the front.
void ActivateRunningInstance();

// Window class of the main frame (one per instance on a desktop).
#define ALK_MAIN_FRAME_CLASS L"Alk.MainFrame"
