// CDlgOptions: "Options": the distance, volume and fuel-economy units, the mileage rate of trip
// expenses (always with "." as the decimal point, whatever the locale), the currency of the
// user's locale (shown only) and the way into the Excel export settings.
//
// It reads and writes the process-wide settings object: OK stores the rate and the three units
// there (the caller then writes the registry); Cancel changes nothing it holds, while Excel
// settings confirmed meanwhile stay confirmed.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/HyperLink.h"
#include "resources/desktop/resource.h"

class CDlgOptions : public CDialogImpl<CDlgOptions>, public CWinDataExchange<CDlgOptions> {
public:
    enum { IDD = IDD_OPTIONS };

    CDlgOptions() = default;
    ~CDlgOptions() override = default;

    // "What is this?" next to the rate: a link that sends its command.
    CHyperLink m_rateHelp;
    CComboBox m_distance;
    CComboBox m_volume;
    CComboBox m_economy;

    // The currency notation of the thread's locale: its currency format of 0 without the zero,
    // the decimal separator and two decimals ("$", " €"); the whole text when it has no "0".
    static CString CurrencyNotation();
    // The same cut from a currency format of 0 given as text ("¥0" gives "¥").
    static CString CurrencyNotationOf(const wchar_t* formatted);

    // clang-format off
    BEGIN_MSG_MAP(CDlgOptions)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_OPTIONS_RATE_HELP, OnRateHelp)
        COMMAND_ID_HANDLER(IDC_OPTIONS_EXCEL, OnExcelSettings)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRateHelp(WORD, WORD, HWND, BOOL&);
    LRESULT OnExcelSettings(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    // The rate as the field is read; the settings take it only on OK.
    float m_rate = 0;
    // The rate's text as shown, so that an untouched field keeps the stored rate exactly.
    CLoadedValues m_loaded;
};
