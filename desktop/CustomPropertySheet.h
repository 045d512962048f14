// CCustomPropertySheet: the modal sheet of the entry and vehicle editors. Its caption comes from
// the string table (the id given); it shows OK and Cancel only, no Apply and no Help, starts on
// its first page and has no owner until it runs (DoModal takes the owner).
#pragma once

#include <windows.h>

#include "framework/PropertySheet.h"

class CCustomPropertySheet : public CPropertySheetImpl<CCustomPropertySheet, CPropertySheetWindow> {
public:
    explicit CCustomPropertySheet(UINT captionId)
        : CPropertySheetImpl<CCustomPropertySheet, CPropertySheetWindow>(captionId, 0, nullptr)
    {}
    ~CCustomPropertySheet() override = default;

    // clang-format off
    BEGIN_MSG_MAP(CCustomPropertySheet)
        CHAIN_MSG_MAP(CPropertySheetImpl<CCustomPropertySheet>)
    END_MSG_MAP()
    // clang-format on
};
