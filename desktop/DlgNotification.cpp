#include "desktop/DlgNotification.h"

#include "desktop/DlgKeywords.h"
#include "desktop/Utility.h"

LRESULT CDlgNotification::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    m_datePicker = GetDlgItem(IDC_REMINDER_DATE);
    m_descriptionBox = GetDlgItem(IDC_REMINDER_DESCRIPTION);
    FillKeywordCombo(CKeyword::ktRepair, m_descriptionBox);
    SetupSpinControl(GetDlgItem(IDC_REMINDER_ODOMETER_SPIN), 1000000, 10);
    // A failure beeps and leaves the focus on its field.
    if (DDX_Date(IDC_REMINDER_DATE, m_date, FALSE)) DoDataExchange(FALSE);
    return TRUE;
}

LRESULT CDlgNotification::OnKeywords(WORD, WORD, HWND, BOOL&)
{
    CString chosen;
    if (ManageKeywords(CKeyword::ktRepair, chosen)) m_descriptionBox.SetWindowText(chosen);
    return 0;
}

LRESULT CDlgNotification::OnOK(WORD, WORD, HWND, BOOL&)
{
    if (!DoDataExchange(TRUE)) return 0;
    if (m_description.IsEmpty()) {
        MessageBox(LoadResString(IDS_DESCRIPTION_REQUIRED), LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONINFORMATION);
        GotoDlgCtrl(m_descriptionBox);
        return 0;
    }
    if (!DDX_Date(IDC_REMINDER_DATE, m_date, TRUE)) return 0;
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgNotification::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
