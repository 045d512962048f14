// CDlgNotes: the "Notes" page that ends every entry sheet and the vehicle sheet: one multi-line
// field for the record's notes, filling the page.
#pragma once

#include <windows.h>

#include "framework/DataExchange.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgNotes : public CPropertyPageImpl<CDlgNotes>, public CWinDataExchange<CDlgNotes> {
public:
    enum { IDD = IDD_NOTES };

    CDlgNotes() = default;
    ~CDlgNotes() override = default;

    // The record's notes: filled before the sheet runs, read after it ended with OK (unchanged
    // when the page was never opened).
    CString m_notes;

    // clang-format off
    BEGIN_MSG_MAP(CDlgNotes)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgNotes>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgNotes)
        DDX_TEXT(IDC_NOTES_TEXT, m_notes)
    END_DDX_MAP()
    // clang-format on

    // PSN_APPLY: the field's text becomes the notes; refused only when it cannot be read.
    int OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
};
