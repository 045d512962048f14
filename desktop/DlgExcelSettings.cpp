#include "desktop/DlgExcelSettings.h"

namespace {

// The spreadsheet vendor's help pages (placeholders until the product's own are known).
const wchar_t kFormatCodesPage[] = L"http://www.example.com/office/number-format-codes";
const wchar_t kLocaleFormatsPage[] = L"http://www.example.com/office/format-cells-in-another-locale";

const UINT kFormatFields[] = {IDC_EXCEL_DATE, IDC_EXCEL_INTEGER, IDC_EXCEL_FLOAT, IDC_EXCEL_CURRENCY};
// clang-format off
const UINT kFormatControls[] = {
    IDC_EXCEL_DATE,        IDC_EXCEL_INTEGER,       IDC_EXCEL_FLOAT,        IDC_EXCEL_CURRENCY,
    IDC_EXCEL_DATE_LABEL,  IDC_EXCEL_INTEGER_LABEL, IDC_EXCEL_FLOAT_LABEL,  IDC_EXCEL_CURRENCY_LABEL,
    IDC_EXCEL_INTEGER_NOTE, IDC_EXCEL_FLOAT_NOTE,
};
// clang-format on

}  // namespace

LRESULT CDlgExcelSettings::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    m_codesLink.SubclassWindow(GetDlgItem(IDC_EXCEL_LINK_CODES));
    m_codesLink.SetHyperLink(kFormatCodesPage);
    m_localeLink.SubclassWindow(GetDlgItem(IDC_EXCEL_LINK_LOCALE));
    m_localeLink.SetHyperLink(kLocaleFormatsPage);

    // Only 0, 1 and 2 are check states; anything else is taken as unticked, in the settings too.
    if (g_AppSettings.ExcelFormatCells < 0 || g_AppSettings.ExcelFormatCells > 2) g_AppSettings.ExcelFormatCells = 0;
    for (UINT field : kFormatFields) CEdit(GetDlgItem(field)).SetLimitText(MaxFormat);
    DoDataExchange(FALSE);  // a field that cannot be set beeps and takes the focus
    EnableFormats();
    return TRUE;
}

void CDlgExcelSettings::EnableFormats()
{
    const BOOL ticked = IsDlgButtonChecked(IDC_EXCEL_FORMAT_CELLS) == BST_CHECKED;
    for (UINT id : kFormatControls) CWindow(GetDlgItem(id)).EnableWindow(ticked);
}

LRESULT CDlgExcelSettings::OnFormatCells(WORD, WORD, HWND, BOOL&)
{
    EnableFormats();
    return 0;
}

LRESULT CDlgExcelSettings::OnOK(WORD, WORD, HWND, BOOL&)
{
    DoDataExchange(TRUE);
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgExcelSettings::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
