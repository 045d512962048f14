// CDlgFuelDetails: the "Details" page of a fuel entry's sheet: date, odometer, quantity, price
// per unit, total cost and vendor, with "C&alc." computing whichever of the three numbers is
// missing from the other two, and "..." managing the fuel vendors.
//
// A new entry (price 0) is offered the price per unit of the last fuel page applied, kept as
// "LastPrice" under the settings key (REG_BINARY: the 4 bytes of the float); every successful
// apply writes it. Nothing on the page is required. A quantity or a price per unit below zero
// means nothing a pump sells and would lower every fuel total: it is refused as a number that
// does not read is (a beep, the focus on the field, the sheet kept open), on OK and on Calc.
// Zero, and a total cost of either sign, are taken as typed.
#pragma once

#include <windows.h>

#include <cfloat>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgFuelDetails : public CPropertyPageImpl<CDlgFuelDetails>, public CWinDataExchangeLocale<CDlgFuelDetails> {
public:
    enum { IDD = IDD_FUEL_DETAILS };

    CDlgFuelDetails() = default;
    ~CDlgFuelDetails() override = default;

    // The entry's fields: filled before the sheet runs, read after it ended with OK.
    double m_date = 0;     // OLE date with the time of day
    long m_odometer = 0;   // signed 32-bit
    float m_quantity = 0;  // Custom1
    float m_price = 0;     // Custom2, per unit
    float m_total = 0;     // Amount
    CString m_vendor;
    CDateTimePickerCtrl m_datePicker;
    CComboBox m_vendorBox;

    // clang-format off
    BEGIN_MSG_MAP(CDlgFuelDetails)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_FUEL_CALC, OnCalc)
        COMMAND_ID_HANDLER(IDC_ENTRY_KEYWORDS, OnKeywords)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgFuelDetails>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgFuelDetails)
        DDX_INT(IDC_ENTRY_ODOMETER, m_odometer)
        DDX_FLOAT_P_RANGE(IDC_FUEL_PRICE, m_price, 0.0f, FLT_MAX, 6)
        DDX_FLOAT_P_RANGE(IDC_FUEL_QUANTITY, m_quantity, 0.0f, FLT_MAX, 6)
        DDX_FLOAT_P(IDC_ENTRY_AMOUNT, m_total, 6)
        DDX_TEXT(IDC_ENTRY_KEYWORD, m_vendor)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the fields from the controls, "LastPrice" written, the date from the picker.
    int OnApply();

    // "LastPrice": the price when the value is REG_BINARY of exactly 4 bytes holding a finite
    // float, else 0. Writing creates the settings key when needed; failures are ignored.
    static float ReadLastPrice();
    static void WriteLastPrice(float price);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCalc(WORD, WORD, HWND, BOOL&);
    LRESULT OnKeywords(WORD, WORD, HWND, BOOL&);
    // A Cancel command that reaches the page itself is consumed; the sheet's own Cancel is not.
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }
};
