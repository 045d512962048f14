// CDlgVehicleDetails: the "Details" page of the vehicle sheet: name (required), model year,
// current odometer, licence plate and vehicle identification number (both kept in upper case by
// their fields), and the picture file, chosen with "..." in the file-open dialog. The picture is
// not opened here; the picture pane shows it.
#pragma once

#include <windows.h>

#include "framework/DataExchange.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgVehicleDetails : public CPropertyPageImpl<CDlgVehicleDetails>, public CWinDataExchange<CDlgVehicleDetails> {
public:
    enum { IDD = IDD_VEHICLE_DETAILS };

    CDlgVehicleDetails() = default;
    ~CDlgVehicleDetails() override = default;

    // The vehicle's fields: filled before the sheet runs, read after it ended with OK.
    CString m_name;
    CString m_plate;
    CString m_vin;
    long m_odometer = 0;  // signed 32-bit
    int m_year = 0;
    CString m_picturePath;

    // clang-format off
    BEGIN_MSG_MAP(CDlgVehicleDetails)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_VEHICLE_PICTURE_BROWSE, OnBrowse)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgVehicleDetails>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgVehicleDetails)
        DDX_TEXT(IDC_VEHICLE_NAME, m_name)
        DDX_TEXT(IDC_VEHICLE_PLATE, m_plate)
        DDX_TEXT(IDC_VEHICLE_VIN, m_vin)
        DDX_INT(IDC_VEHICLE_YEAR, m_year)
        DDX_INT(IDC_VEHICLE_ODOMETER, m_odometer)
        DDX_TEXT(IDC_VEHICLE_PICTURE_PATH, m_picturePath)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the fields from the controls (whole numbers, not range-checked), a name required.
    int OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    // The file-open dialog, starting from the picture path the page was given; the chosen file's
    // full path goes into the picture field.
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
    // A Cancel command that reaches the page itself is consumed; the sheet's own Cancel is not.
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }
};
