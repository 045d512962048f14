// CDlgVehicleInsurance: the "Insurance" page of the vehicle sheet: agent, agent's phone and policy
// number (both kept in upper case by their fields), coverage (several lines) and the date the
// policy expires. Nothing here is required.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

// No decimal field here: the locale exchange is for its date, which gives back an untouched
// date and time exactly.
class CDlgVehicleInsurance : public CPropertyPageImpl<CDlgVehicleInsurance>,
                             public CWinDataExchangeLocale<CDlgVehicleInsurance> {
public:
    enum { IDD = IDD_VEHICLE_INSURANCE };

    CDlgVehicleInsurance() = default;
    ~CDlgVehicleInsurance() override = default;

    // The vehicle's fields: filled before the sheet runs, read after it ended with OK (unchanged
    // when the page was never opened).
    CString m_policyNumber;
    CString m_agentName;
    CString m_agentPhone;
    CString m_coverage;
    double m_expirationDate = 0;  // OLE date
    CDateTimePickerCtrl m_datePicker;

    // clang-format off
    BEGIN_MSG_MAP(CDlgVehicleInsurance)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgVehicleInsurance>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgVehicleInsurance)
        DDX_TEXT(IDC_INSURANCE_AGENT, m_agentName)
        DDX_TEXT(IDC_INSURANCE_PHONE, m_agentPhone)
        DDX_TEXT(IDC_INSURANCE_POLICY, m_policyNumber)
        DDX_TEXT(IDC_INSURANCE_COVERAGE, m_coverage)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the texts from the controls, the date from the picker.
    int OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
};
