// CDlgExcelSettings: "Excel Export Settings": whether the export formats its cells, and the four
// number formats it uses (date, integer, decimal, currency), with two links to the spreadsheet
// vendor's help on format codes. OK writes the settings object; the registry follows when the
// Options dialog that opened this one is confirmed, or at the end of the program.
#pragma once

#include <windows.h>

#include "desktop/AppSettings.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/HyperLink.h"
#include "resources/desktop/resource.h"

class CDlgExcelSettings : public CDialogImpl<CDlgExcelSettings>, public CWinDataExchange<CDlgExcelSettings> {
public:
    enum { IDD = IDD_EXCEL_SETTINGS };
    // The longest format a field takes: what the settings store reads back.
    enum { MaxFormat = CAppSettings::MaxFormat };

    CDlgExcelSettings() = default;
    ~CDlgExcelSettings() override = default;

    CHyperLink m_codesLink;
    CHyperLink m_localeLink;

    // clang-format off
    BEGIN_MSG_MAP(CDlgExcelSettings)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_EXCEL_FORMAT_CELLS, OnFormatCells)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgExcelSettings)
        DDX_CHECK(IDC_EXCEL_FORMAT_CELLS, g_AppSettings.ExcelFormatCells)
        DDX_TEXT(IDC_EXCEL_DATE, g_AppSettings.ExcelFmt_Date)
        DDX_TEXT(IDC_EXCEL_INTEGER, g_AppSettings.ExcelFmt_Integer)
        DDX_TEXT(IDC_EXCEL_FLOAT, g_AppSettings.ExcelFmt_Float)
        DDX_TEXT(IDC_EXCEL_CURRENCY, g_AppSettings.ExcelFmt_Currency)
    END_DDX_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFormatCells(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    // The four fields, their labels and notes are enabled exactly while the box is ticked.
    void EnableFormats();
};
