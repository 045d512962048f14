// CDlgRepairDetails: the "Details" page of a repair or maintenance entry's sheet: date, odometer,
// description (from the repair keywords, "..." manages them), location or vendor and amount. The
// description is required, and a field the page cannot read is answered with a message besides
// the beep.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgRepairDetails : public CPropertyPageImpl<CDlgRepairDetails>,
                          public CWinDataExchangeLocale<CDlgRepairDetails> {
public:
    enum { IDD = IDD_REPAIR_DETAILS };

    CDlgRepairDetails() = default;
    ~CDlgRepairDetails() override = default;

    // The entry's fields: filled before the sheet runs, read after it ended with OK.
    double m_date = 0;    // OLE date with the time of day
    long m_odometer = 0;  // signed 32-bit
    float m_amount = 0;
    CString m_vendor;
    CString m_description;  // the entry's name
    CDateTimePickerCtrl m_datePicker;
    CComboBox m_descriptionBox;

    // clang-format off
    BEGIN_MSG_MAP(CDlgRepairDetails)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_ENTRY_KEYWORDS, OnKeywords)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgRepairDetails>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgRepairDetails)
        DDX_INT(IDC_ENTRY_ODOMETER, m_odometer)
        DDX_FLOAT_P(IDC_ENTRY_AMOUNT, m_amount, 6)
        DDX_TEXT(IDC_REPAIR_VENDOR, m_vendor)
        DDX_TEXT(IDC_ENTRY_KEYWORD, m_description)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the fields from the controls (a refused one beeps, takes the focus and is
    // reported), a description required, the date from the picker.
    int OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeywords(WORD, WORD, HWND, BOOL&);
    // A Cancel command that reaches the page itself is consumed; the sheet's own Cancel is not.
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }
    void ShowMessage(UINT text);
};
