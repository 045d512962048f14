#include "desktop/DlgNotificationFire.h"

#include <oleauto.h>

#include "desktop/Startup.h"
#include "desktop/Utility.h"

LRESULT CDlgNotificationFire::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    if (g_hBoldFont) CWindow(GetDlgItem(IDC_FIRE_VEHICLE)).SetFont(g_hBoldFont);
    SetDlgItemText(IDC_FIRE_DESCRIPTION, m_reminder->GetName());
    SetDlgItemText(IDC_FIRE_VEHICLE, FormatVehicleCaption(*m_vehicle));
    SetDlgItemText(IDC_FIRE_ODOMETER, FormatNumber(static_cast<float>(m_reminder->GetOdometer()), false, false));
    SetDlgItemText(IDC_FIRE_CURRENT_ODOMETER,
                   FormatNumber(static_cast<float>(m_vehicle->GetCurrentOdometer()), false, false));
    SetDlgItemText(IDC_FIRE_DATE, FormatDate(m_reminder->GetDate()));
    SYSTEMTIME local;
    GetLocalNow(&local);
    double today = 0;
    SystemTimeToVariantTime(&local, &today);
    SetDlgItemText(IDC_FIRE_TODAY, FormatDate(today));
    return TRUE;
}

LRESULT CDlgNotificationFire::OnButton(WORD, WORD id, HWND, BOOL&)
{
    EndDialog(id);
    return 0;
}
