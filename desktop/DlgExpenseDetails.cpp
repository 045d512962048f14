#include "desktop/DlgExpenseDetails.h"

#include "desktop/DlgKeywords.h"
#include "desktop/Utility.h"

LRESULT CDlgExpenseDetails::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CWindow(GetParent()).CenterWindow();
    m_datePicker = GetDlgItem(IDC_ENTRY_DATE);
    m_descriptionBox = GetDlgItem(IDC_ENTRY_KEYWORD);
    FillKeywordCombo(CKeyword::ktExpense, m_descriptionBox);
    DDX_Date(IDC_ENTRY_DATE, m_date, FALSE);
    SetupSpinControl(GetDlgItem(IDC_ENTRY_ODOMETER_SPIN), 1000000, 10);
    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

int CDlgExpenseDetails::OnApply()
{
    if (!DoDataExchange(TRUE)) return PSNRET_INVALID;
    if (m_description.IsEmpty()) {
        CWindow(GetParent())
            .MessageBox(LoadResString(IDS_DESCRIPTION_REQUIRED), LoadResString(IDS_ENTRY_PROPERTIES),
                        MB_OK | MB_ICONINFORMATION);
        GotoDlgCtrl(m_descriptionBox);
        return PSNRET_INVALID;
    }
    DDX_Date(IDC_ENTRY_DATE, m_date, TRUE);
    return PSNRET_NOERROR;
}

LRESULT CDlgExpenseDetails::OnKeywords(WORD, WORD, HWND, BOOL&)
{
    CString chosen;
    if (ManageKeywords(CKeyword::ktExpense, chosen)) m_descriptionBox.SetWindowText(chosen);
    return 0;
}
