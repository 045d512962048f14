#include "desktop/DlgReminders.h"

#include <memory>

#include "desktop/AppSettings.h"
#include "desktop/DataFileMessages.h"
#include "desktop/Reminders.h"
#include "desktop/SaveEditedRecord.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Module.h"

LRESULT CDlgReminders::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    if (g_hBoldFont) CWindow(GetDlgItem(IDC_REMINDERS_VEHICLE)).SetFont(g_hBoldFont);

    m_cmdBar.Create(m_hWnd, rcDefault, nullptr, WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER);
    // Icons loaded at their default size are shared: they live as long as the program.
    HINSTANCE res = AlkGetResourceInstance();
    m_cmdBar.AddIcon(::LoadIconW(res, MAKEINTRESOURCEW(IDI_EDIT)), ID_EDIT_SELECTED);
    m_cmdBar.AddIcon(::LoadIconW(res, MAKEINTRESOURCEW(IDI_DELETE)), ID_DELETE_SELECTED);

    m_list.SubclassWindow(GetDlgItem(IDC_REMINDERS_LIST));
    m_list.InitColumns();
    m_list.Refresh(g_AppSettings.LastActiveVehicle);
    SetDlgItemText(IDC_REMINDERS_VEHICLE, m_vehicleCaption);
    m_list.PostMessage(WM_SIZE);
    m_list.SetCommandBar(&m_cmdBar);
    return TRUE;
}

LRESULT CDlgReminders::OnNew(WORD, WORD, HWND, BOOL&)
{
    if (!g_AppSettings.LastActiveVehicle) {
        // No caption of its own: the system's default one.
        MessageBox(LoadResString(IDS_NO_ACTIVE_VEHICLE), nullptr, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    // Freed here unless the list takes it.
    std::unique_ptr<CNotification> reminder(new CNotification);
    if (!reminder || !EditNotification(reminder.get())) return 0;
    m_list.AddItem(reminder.release());
    GotoDlgCtrl(m_list);
    return 0;
}

void CDlgReminders::EditSelected()
{
    auto* reminder = static_cast<CNotification*>(m_list.GetSelectedItemData());
    if (!reminder || !EditNotification(reminder)) return;
    m_list.UpdateItem(reminder, TRUE);
    GotoDlgCtrl(m_list);
}

LRESULT CDlgReminders::OnEdit(WORD, WORD, HWND, BOOL&)
{
    EditSelected();
    return 0;
}

LRESULT CDlgReminders::OnOK(WORD, WORD, HWND, BOOL&)
{
    // Enter: the dialog has no OK button; in the list it edits the selected reminder.
    if (::GetFocus() == m_list.m_hWnd) EditSelected();
    return 0;
}

LRESULT CDlgReminders::OnDelete(WORD, WORD, HWND, BOOL&)
{
    TellOfDamage();
    if (MessageBox(LoadResString(IDS_CONFIRM_DELETE_REMINDER), L"", MB_OKCANCEL) != IDOK) return 0;
    auto* reminder = static_cast<CNotification*>(m_list.GetSelectedItemData());
    // The reminder itself stays in the list's ownership until the dialog ends.
    if (reminder && WriteAskingAgain([reminder] { return g_DataLayer.Delete(reminder); })) {
        const int row = m_list.GetSelectedIndex();
        if (row >= 0) m_list.DeleteItem(row);
    }
    return 0;
}

LRESULT CDlgReminders::OnClose(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CDlgReminders::OnListDoubleClick(int, LPNMHDR, BOOL&)
{
    EditSelected();
    return 0;
}

LRESULT CDlgReminders::OnListKeyDown(int, LPNMHDR hdr, BOOL&)
{
    // Enter reaches the list itself only when no dialog loop turned it into IDOK first.
    if (reinterpret_cast<LPNMLVKEYDOWN>(hdr)->wVKey == VK_RETURN) EditSelected();
    return 0;
}

LRESULT CDlgReminders::OnItemChanged(int, LPNMHDR hdr, BOOL&)
{
    const auto* change = reinterpret_cast<LPNMLISTVIEW>(hdr);
    const BOOL enable = change->iItem != -1 && m_list.GetSelectedCount() > 0;
    CWindow(GetDlgItem(IDC_REMINDERS_EDIT)).EnableWindow(enable);
    CWindow(GetDlgItem(IDC_REMINDERS_DELETE)).EnableWindow(enable);
    return 0;
}
