// CDlgTripExpense: the "Expense" page of a trip's sheet: the mileage rate of the settings and the
// trip's distance (both shown only), the total cost, which "C&alc." prices as distance x rate,
// and the category (from the category keywords, "..." manages them). Each time the page shows it
// asks the details page for the distance. Nothing here is required.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgTripExpense : public CPropertyPageImpl<CDlgTripExpense>, public CWinDataExchangeLocale<CDlgTripExpense> {
public:
    enum { IDD = IDD_TRIP_EXPENSE };

    CDlgTripExpense() = default;
    ~CDlgTripExpense() override = default;

    long m_distance = 0;  // from the details page; not stored
    // The entry's fields: filled before the sheet runs, read after it ended with OK (unchanged
    // when the page was never opened).
    float m_total = 0;   // Amount
    CString m_category;  // Vendor
    CComboBox m_categoryBox;

    // clang-format off
    BEGIN_MSG_MAP(CDlgTripExpense)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_TRIP_CALC, OnCalc)
        COMMAND_ID_HANDLER(IDC_ENTRY_KEYWORDS, OnKeywords)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgTripExpense>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgTripExpense)
        DDX_INT(IDC_TRIP_DISTANCE, m_distance)
        DDX_FLOAT_P(IDC_ENTRY_AMOUNT, m_total, 6)
        DDX_FLOAT_P(IDC_TRIP_RATE, m_rate, 6)
        DDX_TEXT(IDC_TRIP_CATEGORY, m_category)
    END_DDX_MAP()
    // clang-format on

    // PSN_SETACTIVE: the distance the details page holds now.
    int OnSetActive();
    // PSN_APPLY: the fields from the controls; the total is what its field holds.
    int OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCalc(WORD, WORD, HWND, BOOL&);
    LRESULT OnKeywords(WORD, WORD, HWND, BOOL&);

    // The rate as the page shows it. It is read back with the other fields, and a rate that
    // cannot be read stops Calc and OK, but it belongs to the settings (Options changes it): a
    // trip never writes it there.
    float m_rate = 0;
};
