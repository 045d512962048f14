// CDlgReminders: "Manage Reminders", the active vehicle's reminders with New, Edit and Delete.
//
// The caller sets the vehicle's caption and runs the dialog; it loads its own copies of the
// reminders (the list view owns them) and saves or deletes each change as it is made. Edit works on
// the selected reminder, from its button, the list's context menu, a double click, or Enter while
// the list has the focus (the dialog's IDOK). The dialog runs no due check.
//
// A command bar of its own, never shown, tracks the list's context menu so that Edit and Delete
// show their icons; the bar has no menu, so it takes no Alt+letter from the dialog's buttons.
#pragma once

#include <windows.h>

#include "desktop/NotificationListView.h"
#include "framework/CommandBar.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgReminders : public CDialogImpl<CDlgReminders> {
public:
    enum { IDD = IDD_REMINDERS };

    CDlgReminders() = default;
    ~CDlgReminders() override = default;

    CCommandBarCtrl m_cmdBar;
    CNotificationListView m_list;
    // Set by the caller before the dialog runs: whose reminders these are.
    CString m_vehicleCaption;

    // clang-format off
    BEGIN_MSG_MAP(CDlgReminders)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_REMINDERS_NEW, OnNew)
        COMMAND_ID_HANDLER(IDC_REMINDERS_EDIT, OnEdit)
        COMMAND_ID_HANDLER(ID_EDIT_SELECTED, OnEdit)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDC_REMINDERS_DELETE, OnDelete)
        COMMAND_ID_HANDLER(ID_DELETE_SELECTED, OnDelete)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
        NOTIFY_HANDLER(IDC_REMINDERS_LIST, NM_DBLCLK, OnListDoubleClick)
        NOTIFY_HANDLER(IDC_REMINDERS_LIST, LVN_KEYDOWN, OnListKeyDown)
        NOTIFY_HANDLER(IDC_REMINDERS_LIST, LVN_ITEMCHANGED, OnItemChanged)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNew(WORD, WORD, HWND, BOOL&);
    LRESULT OnEdit(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(WORD, WORD, HWND, BOOL&);
    LRESULT OnListDoubleClick(int, LPNMHDR, BOOL&);
    LRESULT OnListKeyDown(int, LPNMHDR, BOOL&);
    LRESULT OnItemChanged(int, LPNMHDR, BOOL&);

    // Edits the selected reminder; its row moves to the top once saved. Nothing without a selection.
    void EditSelected();
};
