#include "desktop/DlgRepairDetails.h"

#include "desktop/DlgKeywords.h"
#include "desktop/Utility.h"

LRESULT CDlgRepairDetails::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CWindow(GetParent()).CenterWindow();
    m_datePicker = GetDlgItem(IDC_ENTRY_DATE);
    m_descriptionBox = GetDlgItem(IDC_ENTRY_KEYWORD);
    FillKeywordCombo(CKeyword::ktRepair, m_descriptionBox);
    DDX_Date(IDC_ENTRY_DATE, m_date, FALSE);
    SetupSpinControl(GetDlgItem(IDC_ENTRY_ODOMETER_SPIN), 1000000, 10);
    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

int CDlgRepairDetails::OnApply()
{
    // The exchange beeps and focuses the field it refuses; the message follows.
    if (!DoDataExchange(TRUE)) {
        ShowMessage(IDS_CHECK_INPUTS);
        return PSNRET_INVALID;
    }
    if (m_description.IsEmpty()) {
        ShowMessage(IDS_DESCRIPTION_REQUIRED);
        GotoDlgCtrl(m_descriptionBox);
        return PSNRET_INVALID;
    }
    DDX_Date(IDC_ENTRY_DATE, m_date, TRUE);
    return PSNRET_NOERROR;
}

LRESULT CDlgRepairDetails::OnKeywords(WORD, WORD, HWND, BOOL&)
{
    CString chosen;
    if (ManageKeywords(CKeyword::ktRepair, chosen)) m_descriptionBox.SetWindowText(chosen);
    return 0;
}

void CDlgRepairDetails::ShowMessage(UINT text)
{
    CWindow(GetParent())
        .MessageBox(LoadResString(text), LoadResString(IDS_ENTRY_PROPERTIES), MB_OK | MB_ICONINFORMATION);
}
