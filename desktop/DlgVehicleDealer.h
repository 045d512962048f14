// CDlgVehicleDealer: the "Dealer" page of the vehicle sheet: the dealer's name, phone (kept in
// upper case by its field) and address (several lines). Nothing here is required.
#pragma once

#include <windows.h>

#include "framework/DataExchange.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgVehicleDealer : public CPropertyPageImpl<CDlgVehicleDealer>, public CWinDataExchange<CDlgVehicleDealer> {
public:
    enum { IDD = IDD_VEHICLE_DEALER };

    CDlgVehicleDealer() = default;
    ~CDlgVehicleDealer() override = default;

    // The vehicle's fields: filled before the sheet runs, read after it ended with OK (unchanged
    // when the page was never opened).
    CString m_name;
    CString m_phone;
    CString m_address;

    // clang-format off
    BEGIN_MSG_MAP(CDlgVehicleDealer)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgVehicleDealer>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgVehicleDealer)
        DDX_TEXT(IDC_DEALER_NAME, m_name)
        DDX_TEXT(IDC_DEALER_PHONE, m_phone)
        DDX_TEXT(IDC_DEALER_ADDRESS, m_address)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the texts from the controls.
    int OnApply() { return DoDataExchange(TRUE) ? PSNRET_NOERROR : PSNRET_INVALID; }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
        return TRUE;
    }
};
