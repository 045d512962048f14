#include "desktop/DlgOptions.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "desktop/AppSettings.h"
#include "desktop/DlgExcelSettings.h"
#include "desktop/Utility.h"

namespace {

void FillUnits(CComboBox& box, std::initializer_list<UINT> names, int selected)
{
    box.ResetContent();
    for (UINT name : names) box.AddString(LoadResString(name));
    box.SetCurSel(selected);
}

}  // namespace

CString CDlgOptions::CurrencyNotation()
{
    const LCID locale = GetThreadLocale();
    const int length = GetCurrencyFormatW(locale, 0, L"0", nullptr, nullptr, 0);
    if (length <= 0) return CString();
    std::vector<wchar_t> buffer(length);
    if (GetCurrencyFormatW(locale, 0, L"0", nullptr, buffer.data(), length) <= 0) return CString();
    return CurrencyNotationOf(buffer.data());
}

CString CDlgOptions::CurrencyNotationOf(const wchar_t* formatted)
{
    std::wstring text = formatted;
    // The zero, the decimal separator and two decimals, or what is left of them at the end.
    const size_t zero = text.find(L'0');
    if (zero != std::wstring::npos) text.erase(zero, 4);
    return CString(text.c_str(), static_cast<int>(text.size()));
}

LRESULT CDlgOptions::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    m_rateHelp.SubclassWindow(GetDlgItem(IDC_OPTIONS_RATE_HELP));
    m_rateHelp.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
    SetDlgItemText(IDC_OPTIONS_CURRENCY, CurrencyNotation());

    m_distance = GetDlgItem(IDC_OPTIONS_DISTANCE);
    m_volume = GetDlgItem(IDC_OPTIONS_VOLUME);
    m_economy = GetDlgItem(IDC_OPTIONS_ECONOMY);
    FillUnits(m_distance, {IDS_UNIT_MILES, IDS_UNIT_KILOMETRES}, g_AppSettings.UnitDistance);
    FillUnits(m_volume, {IDS_UNIT_GALLONS_US, IDS_UNIT_GALLONS_UK, IDS_UNIT_LITRES}, g_AppSettings.UnitVolume);
    FillUnits(m_economy, {IDS_ECONOMY_MPG_US, IDS_ECONOMY_MPG_UK, IDS_ECONOMY_KM_PER_LITRE, IDS_ECONOMY_MI_PER_LITRE},
              g_AppSettings.UnitFuelEconomy);

    m_rate = g_AppSettings.MileageRate;
    if (DDX_Float(IDC_OPTIONS_RATE, m_rate, FALSE, FALSE, 0, 0, 6)) {
        CString shown;
        GetDlgItemText(IDC_OPTIONS_RATE, shown);
        m_loaded.RememberFloat(IDC_OPTIONS_RATE, shown, m_rate);
    }
    return TRUE;
}

LRESULT CDlgOptions::OnRateHelp(WORD, WORD, HWND, BOOL&)
{
    MessageBox(LoadResString(IDS_MILEAGE_RATE_HELP), LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONINFORMATION);
    return 0;
}

LRESULT CDlgOptions::OnExcelSettings(WORD, WORD, HWND, BOOL&)
{
    CDlgExcelSettings dialog;
    dialog.DoModal(m_hWnd);
    return 0;
}

LRESULT CDlgOptions::OnOK(WORD, WORD, HWND, BOOL&)
{
    CString shown;
    GetDlgItemText(IDC_OPTIONS_RATE, shown);
    float rate = 0;
    if (!m_loaded.RecallFloat(IDC_OPTIONS_RATE, shown, rate)) {
        // Refused text beeps and takes the focus; the dialog stays open.
        if (!DDX_Float(IDC_OPTIONS_RATE, m_rate, TRUE, FALSE, 0, 0, 6)) return 0;
        rate = m_rate;
    }
    g_AppSettings.MileageRate = rate;
    g_AppSettings.UnitDistance = m_distance.GetCurSel();
    g_AppSettings.UnitVolume = m_volume.GetCurSel();
    g_AppSettings.UnitFuelEconomy = m_economy.GetCurSel();
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgOptions::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
