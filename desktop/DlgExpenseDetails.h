// CDlgExpenseDetails: the "Details" page of an other-expense entry's sheet: date, odometer,
// description (from the expense keywords, "..." manages them), vendor and amount. The
// description is required; a field the page cannot read only beeps and takes the focus.
#pragma once

#include "desktop/DlgEntryDetails.h"

class CDlgExpenseDetails : public CDlgEntryDetails<CDlgExpenseDetails> {
public:
    enum { IDD = IDD_EXPENSE_DETAILS };
    static constexpr CKeyword::Type kKeywordType = CKeyword::ktExpense;
    static constexpr bool kExplainsRefusedInput = false;

    CDlgExpenseDetails() = default;
    ~CDlgExpenseDetails() override = default;

    // clang-format off
    BEGIN_DDX_MAP(CDlgExpenseDetails)
        DDX_TEXT(IDC_ENTRY_KEYWORD, m_description)
        DDX_TEXT(IDC_EXPENSE_VENDOR, m_vendor)
        DDX_INT(IDC_ENTRY_ODOMETER, m_odometer)
        DDX_FLOAT_P(IDC_ENTRY_AMOUNT, m_amount, 6)
    END_DDX_MAP()
    // clang-format on
};
