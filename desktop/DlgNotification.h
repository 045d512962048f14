// CDlgNotification: "Edit Reminder", one reminder's description (from the repair and maintenance
// keywords, "..." manages them), the odometer and the date at which it falls due.
//
// The fields are filled before the dialog runs and read after it ended with OK. OK takes an
// odometer the field holds as a signed 32-bit number (else a beep and the focus on it), then
// refuses an empty description with a message; anything else is taken as typed. The date comes
// back with the time of day it was given, and exactly as given while the picker still shows it.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgNotification : public CDialogImpl<CDlgNotification>, public CWinDataExchangeLocale<CDlgNotification> {
public:
    enum { IDD = IDD_NOTIFICATION };

    CDlgNotification() = default;
    ~CDlgNotification() override = default;

    long m_odometer = 0;  // signed 32-bit
    CString m_description;
    double m_date = 0;  // OLE date with the time of day
    CDateTimePickerCtrl m_datePicker;
    CComboBox m_descriptionBox;

    // clang-format off
    BEGIN_MSG_MAP(CDlgNotification)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_REMINDER_KEYWORDS, OnKeywords)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgNotification)
        DDX_INT(IDC_REMINDER_ODOMETER, m_odometer)
        DDX_TEXT(IDC_REMINDER_DESCRIPTION, m_description)
    END_DDX_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeywords(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};
