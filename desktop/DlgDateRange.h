// CDlgDateRange: "Select Date Range", a custom start and end date with six presets counted back
// from today's local date. On OK the start is taken at 00:00:00 of its day and the end at
// 23:59:59 of its; an end before the start is refused with a message and the dialog stays open.
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "resources/desktop/resource.h"

class CDlgDateRange : public CDialogImpl<CDlgDateRange> {
public:
    enum { IDD = IDD_DATE_RANGE };

    // The caller's range: read when the dialog opens, written on OK (borrowed).
    CDlgDateRange(SYSTEMTIME* start, SYSTEMTIME* end) : m_start(start), m_end(end) {}
    ~CDlgDateRange() override = default;

    SYSTEMTIME* m_start;
    SYSTEMTIME* m_end;
    CDateTimePickerCtrl m_startPicker;
    CDateTimePickerCtrl m_endPicker;

    // clang-format off
    BEGIN_MSG_MAP(CDlgDateRange)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_RANGE_HANDLER(IDC_RANGE_3_MONTHS, IDC_RANGE_PREVIOUS_YEAR, OnPreset)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPreset(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};

// Shows the dialog with the range given, owned by the active window. True when it ended with OK;
// the two then hold the chosen range. Cancel leaves them as they were, also after a refused OK.
bool SelectDateRange(SYSTEMTIME* start, SYSTEMTIME* end);
