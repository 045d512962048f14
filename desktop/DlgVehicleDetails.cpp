#include "desktop/DlgVehicleDetails.h"

#include "desktop/Utility.h"
#include "framework/FileDialog.h"

LRESULT CDlgVehicleDetails::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CWindow(GetParent()).CenterWindow();
    SetupSpinControl(GetDlgItem(IDC_VEHICLE_ODOMETER_SPIN), 1000000, 10);
    // The arrows reach next year's models; a later year can still be typed.
    SYSTEMTIME today{};
    GetLocalNow(&today);
    SetupSpinControl(GetDlgItem(IDC_VEHICLE_YEAR_SPIN), today.wYear + 1, 1);
    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

int CDlgVehicleDetails::OnApply()
{
    if (!DoDataExchange(TRUE)) return PSNRET_INVALID;
    if (m_name.IsEmpty()) {
        CWindow(GetParent())
            .MessageBox(LoadResString(IDS_NAME_REQUIRED), LoadResString(IDS_VEHICLE_PROPERTIES),
                        MB_OK | MB_ICONINFORMATION);
        GotoDlgCtrl(GetDlgItem(IDC_VEHICLE_NAME));
        return PSNRET_INVALID;
    }
    return PSNRET_NOERROR;
}

LRESULT CDlgVehicleDetails::OnBrowse(WORD, WORD, HWND, BOOL&)
{
    const CString filter = LoadFileFilter(IDS_FILTER_IMAGES);
    CFileDialog dialog(TRUE, nullptr, m_picturePath, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, filter);
    if (dialog.DoModal(::GetActiveWindow()) == IDOK) SetDlgItemText(IDC_VEHICLE_PICTURE_PATH, dialog.m_szFileName);
    return 0;
}
