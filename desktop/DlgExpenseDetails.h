// CDlgExpenseDetails: the "Details" page of an other-expense entry's sheet: date, odometer,
// description (from the expense keywords, "..." manages them), vendor and amount. The
// description is required.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgExpenseDetails : public CPropertyPageImpl<CDlgExpenseDetails>,
                           public CWinDataExchangeLocale<CDlgExpenseDetails> {
public:
    enum { IDD = IDD_EXPENSE_DETAILS };

    CDlgExpenseDetails() = default;
    ~CDlgExpenseDetails() override = default;

    // The entry's fields: filled before the sheet runs, read after it ended with OK.
    double m_date = 0;    // OLE date with the time of day
    long m_odometer = 0;  // signed 32-bit
    float m_amount = 0;
    CString m_vendor;
    CString m_description;  // the entry's name
    CDateTimePickerCtrl m_datePicker;
    CComboBox m_descriptionBox;

    // clang-format off
    BEGIN_MSG_MAP(CDlgExpenseDetails)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_ENTRY_KEYWORDS, OnKeywords)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgExpenseDetails>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgExpenseDetails)
        DDX_TEXT(IDC_ENTRY_KEYWORD, m_description)
        DDX_TEXT(IDC_EXPENSE_VENDOR, m_vendor)
        DDX_INT(IDC_ENTRY_ODOMETER, m_odometer)
        DDX_FLOAT_P(IDC_ENTRY_AMOUNT, m_amount, 6)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the fields from the controls; an empty description is refused with a message.
    int OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeywords(WORD, WORD, HWND, BOOL&);
    // A Cancel command that reaches the page itself is consumed; the sheet's own Cancel is not.
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }
};
