// The HotSync-action dialog "Change HotSync Action" (dialog 101): the action of the next HotSync
// (or of every HotSync, with "Set as default") and the conflict rule of two-way runs, each with a
// picture of its direction.
//
// The request's sync types map to the action radio buttons so:
//
//   index  button                          shown for sync type   written
//   0      "&Synchronize the files"        0 and 1               0
//   1      "&Desktop overwrites handheld"  3                     3
//   2      "&Handheld overwrites Desktop"  2                     2
//   3      "Do &nothing"                   any other             6
//
// OK writes the chosen sync type and the preference (1 "Set as default" checked, 2 for the next
// HotSync only) into the request and the conflict rule into the module; Cancel and the close box
// change nothing. The pictures are drawn on 0xCBCBCB, repainted in the button-face colour now
// and whenever the system colours change.
#pragma once

#include <windows.h>

#include "Conduit/Src/CConduit.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "resources/conduit/resource.h"
#include "sdk/hotsync/HotSync.h"

class CConduitConfigurationDialog : public CDialogImpl<CConduitConfigurationDialog>,
                                    public CWinDataExchange<CConduitConfigurationDialog> {
public:
    enum { IDD = IDD_CONDUIT_CONFIG };

    CConduitConfigurationDialog(ConduitConfigRequest* request, CConduit* module);
    ~CConduitConfigurationDialog() override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;

    BEGIN_DDX_MAP(CConduitConfigurationDialog)
    DDX_RADIO(IDC_ACTION_SYNC, m_actionIndex)
    DDX_CHECK(IDC_SET_AS_DEFAULT, m_setAsDefault)
    DDX_RADIO(IDC_CONFLICT_DESKTOP_WINS, m_conflictIndex)
    END_DDX_MAP()

    // The action index a sync type is shown as, and the sync type an index writes.
    static int SyncTypeToIndex(long syncType);
    static long IndexToSyncType(int index);

private:
    void OnInitDialog();
    void OnOK();
    void SetBitmaps();
    // Takes the pictures' bitmaps back from their controls and deletes them.
    void FreeBitmaps();
    CStringA LoadText(UINT id) const;

    ConduitConfigRequest* m_request;
    CConduit* m_module;
    int m_actionIndex;
    int m_conflictIndex;
    bool m_setAsDefault;
};

// The text of an action index (strings 8005 to 8008).
CStringA GetActionText(int index);
// The window the dialog is owned by, always one of the caller's process: the foreground window
// when it is the caller's, else the calling thread's active window, else none.
HWND ChooseDialogOwner();
// Shows the dialog on the request, owned by ChooseDialogOwner(); true when it ended with OK.
bool RunConfigurationDialog(ConduitConfigRequest* request);
