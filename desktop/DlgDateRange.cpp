#include "desktop/DlgDateRange.h"

#include "desktop/Utility.h"

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

WORD DaysInMonth(int year, int month)
{
    static const WORD days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

SYSTEMTIME Day(int year, int month, int day)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    return t;
}

// Earlier, later or the same moment: -1, 1 or 0.
int Compare(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    FILETIME fa, fb;
    if (!SystemTimeToFileTime(&a, &fa) || !SystemTimeToFileTime(&b, &fb)) return 0;
    return CompareFileTime(&fa, &fb);
}

}  // namespace

LRESULT CDlgDateRange::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    m_startPicker = GetDlgItem(IDC_RANGE_START);
    m_endPicker = GetDlgItem(IDC_RANGE_END);
    m_startPicker.SetSystemTime(GDT_VALID, m_start);
    m_endPicker.SetSystemTime(GDT_VALID, m_end);
    return TRUE;
}

LRESULT CDlgDateRange::OnPreset(WORD, WORD id, HWND, BOOL&)
{
    SYSTEMTIME today;
    GetLocalNow(&today);
    SYSTEMTIME start = today, end = today;
    switch (id) {
    case IDC_RANGE_3_MONTHS: AddDaysToSystemTime(&start, -90, &today); break;
    case IDC_RANGE_6_MONTHS: AddDaysToSystemTime(&start, -180, &today); break;
    case IDC_RANGE_12_MONTHS: AddDaysToSystemTime(&start, -365, &today); break;
    case IDC_RANGE_30_DAYS: AddDaysToSystemTime(&start, -30, &today); break;
    case IDC_RANGE_PREVIOUS_MONTH: {
        const int year = today.wMonth == 1 ? today.wYear - 1 : today.wYear;
        const int month = today.wMonth == 1 ? 12 : today.wMonth - 1;
        start = Day(year, month, 1);
        end = Day(year, month, DaysInMonth(year, month));
        break;
    }
    case IDC_RANGE_PREVIOUS_YEAR:
        start = Day(today.wYear - 1, 1, 1);
        end = Day(today.wYear - 1, 12, 31);
        break;
    default: return 0;
    }
    m_startPicker.SetSystemTime(GDT_VALID, &start);
    m_endPicker.SetSystemTime(GDT_VALID, &end);
    return 0;
}

LRESULT CDlgDateRange::OnOK(WORD, WORD, HWND, BOOL&)
{
    m_startPicker.GetSystemTime(m_start);
    m_endPicker.GetSystemTime(m_end);
    m_start->wHour = m_start->wMinute = m_start->wSecond = m_start->wMilliseconds = 0;
    m_end->wHour = 23;
    m_end->wMinute = m_end->wSecond = 59;
    m_end->wMilliseconds = 0;
    if (Compare(*m_start, *m_end) > 0) {
        // No caption of its own: the system's default one.
        MessageBox(LoadResString(IDS_END_BEFORE_START), nullptr, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgDateRange::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

bool SelectDateRange(SYSTEMTIME* start, SYSTEMTIME* end)
{
    // The dialog writes its range at each OK, also one it refuses: it works on copies.
    SYSTEMTIME chosenStart = *start, chosenEnd = *end;
    CDlgDateRange dialog(&chosenStart, &chosenEnd);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK) return false;
    *start = chosenStart;
    *end = chosenEnd;
    return true;
}
