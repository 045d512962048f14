#include "desktop/Utility.h"

#include <commctrl.h>
#include <oleauto.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "desktop/AppSettings.h"
#include "framework/Controls.h"
#include "framework/Module.h"
#include "resources/desktop/resource.h"

namespace {

// The locale of every text shown here (see Utility.h on why the thread's).
LCID DisplayLocale()
{
    return GetThreadLocale();
}

// The locale's decimal separator (at most 4 characters); empty when it cannot be read.
std::wstring DecimalSeparator()
{
    wchar_t sep[5] = {};
    if (!GetLocaleInfoW(DisplayLocale(), LOCALE_SDECIMAL, sep, 5)) return std::wstring();
    return sep;
}

// Truncation toward zero into the 32-bit range; a value outside it (or not a number) would make
// the plain conversion undefined.
long TruncateToLong(float value)
{
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return LONG_MAX;
    if (value <= -2147483648.0f) return LONG_MIN;
    return static_cast<long>(value);
}

// Runs one of the platform's two-pass formatters: the first call asks for the length (with the
// terminator), the second fills a buffer of that size.
template <typename Format>
std::wstring FormatWithLocale(Format format)
{
    int length = format(nullptr, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(length);
    if (format(buffer.data(), length) <= 0) return std::wstring();
    return buffer.data();
}

CString ToCString(const std::wstring& text)
{
    return CString(text.c_str(), static_cast<int>(text.size()));
}

CString UnitName(UINT fullId, UINT shortId, bool abbreviated, bool lowerCase)
{
    CString name = LoadResString(abbreviated ? shortId : fullId);
    if (lowerCase) name.MakeLower();  // the platform's lower-case conversion
    return name;
}

}  // namespace

CString LoadResString(UINT id)
{
    HINSTANCE instance = AlkGetResourceInstance();
    std::vector<wchar_t> buffer;
    // String-table texts are at most 65535 characters long.
    for (int size = 256; size <= 65536 + 256; size += 256) {
        buffer.assign(size, L'\0');
        int length = LoadStringW(instance, id, buffer.data(), size);
        if (length <= 0) return CString();
        // A text that filled the buffer may have been cut: try again with more room.
        if (length < size - 1) return CString(buffer.data(), length);
    }
    return CString();
}

CString FormatNumber(float value, bool decimals, bool currency)
{
    // The platform formatters take a number text in the C form ("." as the decimal point). With
    // decimals a negative value keeps its cents as a positive one does (a refund of -25.75 is
    // listed as such and adds up with the totals); zero is printed whole.
    wchar_t number[64];
    if (decimals && (value > 0 || value < 0)) {
        swprintf(number, 64, L"%.2f", static_cast<double>(value));
        // A negative value too small for a cent is no debt: the locale's negative form of zero
        // ("($0.00)") would say there is one.
        if (wcscmp(number, L"-0.00") == 0) wcscpy(number, L"0.00");
    } else {
        swprintf(number, 64, L"%ld", TruncateToLong(value));
    }

    const LCID locale = DisplayLocale();
    if (currency) {
        return ToCString(FormatWithLocale(
            [&](wchar_t* out, int size) { return GetCurrencyFormatW(locale, 0, number, nullptr, out, size); }));
    }

    std::wstring text = FormatWithLocale(
        [&](wchar_t* out, int size) { return GetNumberFormatW(locale, 0, number, nullptr, out, size); });
    if (!decimals) {
        // The locale's number format always adds its fractional digits: take off the last
        // decimal separator and the digits after it. Whatever follows them (a trailing minus sign
        // or a closing parenthesis of a negative form) stays.
        const std::wstring sep = DecimalSeparator();
        if (!sep.empty()) {
            const size_t at = text.rfind(sep[0]);
            if (at != std::wstring::npos) {
                size_t end = at + (text.compare(at, sep.size(), sep) == 0 ? sep.size() : 1);
                while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') ++end;
                text.erase(at, end - at);
            }
        }
    }
    return ToCString(text);
}

CString FormatDate(double date)
{
    SYSTEMTIME when = {};
    if (!VariantTimeToSystemTime(date, &when)) return CString();
    const LCID locale = DisplayLocale();
    return ToCString(FormatWithLocale(
        [&](wchar_t* out, int size) { return GetDateFormatW(locale, DATE_SHORTDATE, &when, nullptr, out, size); }));
}

CString FormatDateRange(const SYSTEMTIME& start, const SYSTEMTIME& end)
{
    // A date that does not convert would show as day 0, 30 December 1899.
    double from = 0, to = 0;
    SYSTEMTIME first = start, last = end;
    if (!SystemTimeToVariantTime(&first, &from) || !SystemTimeToVariantTime(&last, &to)) return CString();
    return FormatDate(from) + L" - " + FormatDate(to);
}

CString FormatDateRange(CEntryFilter& filter)
{
    if (filter.HaveDateRange()) {
        const SYSTEMTIME* start = filter.GetStartDate();
        const SYSTEMTIME* end = filter.GetEndDate();
        if (start && end) return FormatDateRange(*start, *end);
    }
    return LoadResString(IDS_ALL_DATES);
}

CString FormatVehicleCaption(const CVehicle& vehicle)
{
    CString caption;
    caption.Format(L"%s (%d)", vehicle.GetName(), vehicle.GetYear());
    return caption;
}

CString FormatEntryCaption(const CEntry& entry)
{
    const CString vendor = entry.GetVendor();
    CString caption;
    if (entry.GetType() == CEntry::etFuel) {
        // Custom1 is the quantity and Custom2 the price per unit of a fuel entry.
        caption = FormatNumber(entry.GetCustom1(), true, false) + L" " + GetVolumeUnitName(true, true) + L" @ " +
                  FormatNumber(entry.GetCustom2(), true, true);
        if (!vendor.IsEmpty()) caption += L" (" + vendor + L")";
    } else {
        caption = entry.GetName();
        if (!vendor.IsEmpty()) caption += L" (" + vendor + L")";
    }
    return caption;
}

CString GetDistanceUnitName(bool abbreviated, bool lowerCase)
{
    switch (g_AppSettings.UnitDistance) {
    case 0: return UnitName(IDS_UNIT_MILES, IDS_UNIT_MILES_SHORT, abbreviated, lowerCase);
    case 1: return UnitName(IDS_UNIT_KILOMETRES, IDS_UNIT_KILOMETRES_SHORT, abbreviated, lowerCase);
    default: return CString();
    }
}

CString GetVolumeUnitName(bool abbreviated, bool lowerCase)
{
    switch (g_AppSettings.UnitVolume) {
    case 0: return UnitName(IDS_UNIT_GALLONS_US, IDS_UNIT_GALLONS_US_SHORT, abbreviated, lowerCase);
    case 1: return UnitName(IDS_UNIT_GALLONS_UK, IDS_UNIT_GALLONS_UK_SHORT, abbreviated, lowerCase);
    case 2: return UnitName(IDS_UNIT_LITRES, IDS_UNIT_LITRES_SHORT, abbreviated, lowerCase);
    default: return CString();
    }
}

void ConvertDecimalSeparator(wchar_t* text, int capacity, bool toPoint)
{
    if (!text || capacity <= 0) return;
    const std::wstring sep = DecimalSeparator();
    // An empty separator (a user override can set one) would match everywhere.
    if (sep.empty()) return;
    const size_t sepLength = sep.size();
    if (toPoint) {
        wchar_t* at = wcsstr(text, sep.c_str());
        if (!at) return;
        *at = L'.';
        if (sepLength > 1) std::memmove(at + 1, at + sepLength, (wcslen(at + sepLength) + 1) * sizeof(wchar_t));
    } else {
        const size_t length = wcslen(text);
        if (length + sepLength > static_cast<size_t>(capacity) - 1) return;
        wchar_t* at = wcschr(text, L'.');
        if (!at) return;
        std::memmove(at + sepLength, at + 1, (wcslen(at + 1) + 1) * sizeof(wchar_t));
        std::memcpy(at, sep.data(), sepLength * sizeof(wchar_t));
    }
}

CString LoadFileFilter(UINT id)
{
    CString filter = LoadResString(id);
    const int length = filter.GetLength();
    if (length > 0) {
        wchar_t* chars = filter.GetBuffer(length);
        for (int i = 0; i < length; ++i) {
            if (chars[i] == L'|') chars[i] = L'\0';
        }
        filter.ReleaseBuffer(length);  // keep the full length over the NULs
    }
    return filter;
}

bool AddDaysToSystemTime(SYSTEMTIME* result, int days, const SYSTEMTIME* start)
{
    // FILETIME counts 100-nanosecond units from 1601: 864,000,000,000 of them make a day, and the
    // system's conversions take counts up to 2^63 - 1 (the year 30828).
    const LONGLONG unitsPerDay = 864000000000LL;
    const LONGLONG largest = 0x7FFFFFFFFFFFFFFFLL;
    SYSTEMTIME from = *start;
    *result = from;
    FILETIME file;
    if (!SystemTimeToFileTime(&from, &file)) return false;
    ULARGE_INTEGER units;
    units.LowPart = file.dwLowDateTime;
    units.HighPart = file.dwHighDateTime;
    const LONGLONG now = static_cast<LONGLONG>(units.QuadPart);
    // Moved outside 0 .. 2^63 - 1 the count would wrap into another date: not moved at all.
    if (days > 0 && static_cast<LONGLONG>(days) > (largest - now) / unitsPerDay) return false;
    if (days < 0 && -static_cast<LONGLONG>(days) > now / unitsPerDay) return false;
    units.QuadPart = static_cast<ULONGLONG>(now + static_cast<LONGLONG>(days) * unitsPerDay);
    file.dwLowDateTime = units.LowPart;
    file.dwHighDateTime = units.HighPart;
    SYSTEMTIME moved;
    if (!FileTimeToSystemTime(&file, &moved)) return false;
    *result = moved;
    return true;
}

void SetupSpinControl(HWND spin, int maximum, int step)
{
    CUpDownCtrl control(spin);
    control.SetRange32(0, maximum);
    const UDACCEL accel = {1, static_cast<UINT>(step)};
    control.SetAccel(1, &accel);
}

namespace {

bool g_localTimeFixed = false;
SYSTEMTIME g_fixedLocalTime = {};

}  // namespace

void GetLocalNow(SYSTEMTIME* now)
{
    if (g_localTimeFixed)
        *now = g_fixedLocalTime;
    else
        GetLocalTime(now);
}

void SetFixedLocalTime(const SYSTEMTIME* fixed)
{
    g_localTimeFixed = fixed != nullptr;
    if (fixed) g_fixedLocalTime = *fixed;
}
