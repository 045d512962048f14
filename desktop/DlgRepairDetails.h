// CDlgRepairDetails: the "Details" page of a repair or maintenance entry's sheet: date, odometer,
// description (from the repair keywords, "..." manages them), location or vendor and amount. The
// description is required, and a field the page cannot read is answered with a message besides
// the beep.
#pragma once

#include "desktop/DlgEntryDetails.h"

class CDlgRepairDetails : public CDlgEntryDetails<CDlgRepairDetails> {
public:
    enum { IDD = IDD_REPAIR_DETAILS };
    static constexpr CKeyword::Type kKeywordType = CKeyword::ktRepair;
    static constexpr bool kExplainsRefusedInput = true;

    CDlgRepairDetails() = default;
    ~CDlgRepairDetails() override = default;

    // clang-format off
    BEGIN_DDX_MAP(CDlgRepairDetails)
        DDX_INT(IDC_ENTRY_ODOMETER, m_odometer)
        DDX_FLOAT_P(IDC_ENTRY_AMOUNT, m_amount, 6)
        DDX_TEXT(IDC_REPAIR_VENDOR, m_vendor)
        DDX_TEXT(IDC_ENTRY_KEYWORD, m_description)
    END_DDX_MAP()
    // clang-format on
};
