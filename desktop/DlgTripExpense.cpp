#include "desktop/DlgTripExpense.h"

#include "desktop/AppSettings.h"
#include "desktop/DlgKeywords.h"

LRESULT CDlgTripExpense::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    m_categoryBox = GetDlgItem(IDC_TRIP_CATEGORY);
    FillKeywordCombo(CKeyword::ktCategory, m_categoryBox);
    m_rate = g_AppSettings.MileageRate;
    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

int CDlgTripExpense::OnSetActive()
{
    m_distance = static_cast<long>(QuerySiblings(0, 0));
    DoDataExchange(FALSE, IDC_TRIP_DISTANCE);
    return 0;
}

int CDlgTripExpense::OnApply()
{
    return DoDataExchange(TRUE) ? PSNRET_NOERROR : PSNRET_INVALID;
}

LRESULT CDlgTripExpense::OnCalc(WORD, WORD, HWND, BOOL&)
{
    if (!DoDataExchange(TRUE)) return 0;
    // Single-precision arithmetic, as the total is stored.
    m_total = static_cast<float>(m_distance) * g_AppSettings.MileageRate;
    DoDataExchange(FALSE);
    CEdit total(GetDlgItem(IDC_ENTRY_AMOUNT));
    GotoDlgCtrl(total);
    total.SetSelAll();  // and the caret scrolled into view
    return 0;
}

LRESULT CDlgTripExpense::OnKeywords(WORD, WORD, HWND, BOOL&)
{
    CString chosen;
    if (ManageKeywords(CKeyword::ktCategory, chosen)) m_categoryBox.SetWindowText(chosen);
    return 0;
}
