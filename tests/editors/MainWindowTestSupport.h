// The main window for the tests of its editor commands: made on the editor tests' file with a
// vehicle remembered as the active one, its lists found, its commands sent as the menu sends
// them, and closed (with the program's connection and the settings key) after each test.
#pragma once

#include <windows.h>

#include <memory>

#include "desktop/AppSettings.h"
#include "desktop/MainFrame.h"
#include "EditorTestSupport.h"

namespace alk_editor_test {

class MainWindowTest : public EditorTest {
protected:
    void TearDown() override
    {
        CloseFrame(frame);
        EditorTest::TearDown();
    }

    // The main window on the file, shown and idle, with `remembered` the vehicle the settings name
    // as last active. The program's connection is handed to the window, which makes its own.
    void OpenFrame(unsigned long remembered)
    {
        g_DataLayer.Disconnect();  // the frame connects it
        lstrcpynW(g_AppSettings.DBPath, db.Path().c_str(), CAppSettings::MaxPath + 1);
        g_AppSettings.LastActiveVehicle = remembered;
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->CreateEx(nullptr, CRect(0, 0, 900, 650)));
        frame->ShowWindow(SW_SHOW);
        frame->OpenDatabase();
        PumpMessages();
    }
    HWND List(int id) { return FindControl(*frame, id); }
    void Command(UINT id)
    {
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        PumpMessages();
    }

    std::unique_ptr<CMainFrame> frame;
};

}  // namespace alk_editor_test
