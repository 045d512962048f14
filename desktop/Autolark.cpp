// Entry point of Autolark.exe: one instance per desktop, the platform libraries, the settings,
// the main window and its database, the message loop, and the way back down.
#include <windows.h>

#include <commctrl.h>

#include "desktop/AppSettings.h"
#include "desktop/LayoutSettings.h"
#include "desktop/MainFrame.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/ComInit.h"

// Settings, main window, database and message loop; the loop's exit code, or 0 when the main
// window cannot be made. The command line is not interpreted.
int Run(LPWSTR /*commandLine*/, int showCmd)
{
    CMessageLoop loop;
    _Module.AddMessageLoop(&loop);

    g_AppSettings.Load();
    CreateBoldFont();

    CMainFrame* frame = new CMainFrame;
    g_pMainFrame = frame;
    if (!frame->CreateEx()) {
        g_pMainFrame = nullptr;
        delete frame;
        _Module.RemoveMessageLoop();
        return 0;
    }

    CLayoutSettings* layout = new CLayoutSettings(ALK_LAYOUT_KEY);
    layout->LoadWindowPlacement(*frame, showCmd);  // shows the window
    frame->LoadSplitterPositions(*layout);

    frame->OpenDatabase();

    // Shown once, also when the start ended without a database and the frame is closing.
    if (g_AppSettings.UnitSetupMsgShown == 0) {
        // A close that the start asked for waits until the notice is answered: dispatched by the
        // notice's own message loop it would destroy the frame and the notice with it at once.
        MSG close;
        bool closing = ::PeekMessageW(&close, *frame, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
        ::MessageBoxW(*frame,
                      L"If this is the first time you are using Autolark, click Tools > Options in the main menu "
                      L"and verify the units for distance and volume.",
                      LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONINFORMATION);
        g_AppSettings.UnitSetupMsgShown = 1;
        if (closing) frame->PostMessage(WM_CLOSE);
    }

    int result = loop.Run();

    _Module.RemoveMessageLoop();
    g_DataLayer.Disconnect();
    if (g_hBoldFont && ::DeleteObject(g_hBoldFont)) g_hBoldFont = nullptr;
    delete layout;
    g_pMainFrame = nullptr;
    delete frame;
    return result;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR commandLine, int showCmd)
{
    // Registered before the instance check, so that a second start can broadcast.
    RegisterAppMessages();
    if (IsAnotherInstanceRunning(ALK_SINGLE_INSTANCE_GUID, UNIQUE_TO_DESKTOP)) {
        // Nothing else is set up and no settings are loaded, so none are written at exit.
        ActivateRunningInstance();
        return 0;
    }

    CComInit com;  // undone after the module's end, at the return
    com.Initialize(COINIT_APARTMENTTHREADED);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS |
                                                       ICC_HOTKEY_CLASS | ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&controls);
    controls.dwICC = ICC_DATE_CLASSES;
    ::InitCommonControlsEx(&controls);
    ::LoadLibraryW(L"RICHED20.DLL");  // kept for the whole run: the notes pane is a rich edit
    controls.dwICC = ICC_COOL_CLASSES | ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    _Module.Init(nullptr, instance);
    int result = Run(commandLine, showCmd);
    _Module.Term();
    return result;
}
