#include "desktop/DlgVehicleInsurance.h"

LRESULT CDlgVehicleInsurance::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    m_datePicker = GetDlgItem(IDC_INSURANCE_EXPIRES);
    DDX_Date(IDC_INSURANCE_EXPIRES, m_expirationDate, FALSE);
    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

int CDlgVehicleInsurance::OnApply()
{
    if (!DoDataExchange(TRUE)) return PSNRET_INVALID;
    DDX_Date(IDC_INSURANCE_EXPIRES, m_expirationDate, TRUE);
    return PSNRET_NOERROR;
}
