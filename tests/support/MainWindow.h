// The program's main window made in a test's own process, as the program makes it at start-up.
//
// Header only: its users link alk_desktop, which defines the window and g_AppSettings.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "desktop/AppSettings.h"
#include "desktop/MainFrame.h"
#include "tests/support/MessagePump.h"

// Makes frame a new main window (a CMainFrame or a class of the test's own derived from it) on
// the database file at path, with remembered the vehicle the settings name as last active; shows
// it, opens the file and handles the messages that follow. The window connects the program's
// connection itself. False, before anything is shown, when the window could not be made.
template <class Frame>
bool OpenMainWindow(std::unique_ptr<Frame>& frame, const std::wstring& path, unsigned long remembered)
{
    lstrcpynW(g_AppSettings.DBPath, path.c_str(), CAppSettings::MaxPath + 1);
    g_AppSettings.LastActiveVehicle = remembered;
    frame = std::make_unique<Frame>();
    if (!frame->CreateEx(nullptr, CRect(0, 0, 900, 650))) return false;
    frame->ShowWindow(SW_SHOW);
    frame->OpenDatabase();
    PumpMessages();
    return true;
}
