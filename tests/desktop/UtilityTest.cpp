// Display formatting and the small helpers, in a United States locale and a German one (decimal
// comma, "." grouping, the currency symbol after the amount), chosen as the thread's locale.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/Paths.h"
#include "desktop/Utility.h"
#include "resources/desktop/resource.h"
#include "tests/desktop/CStringPrinting.h"
#include "tests/desktop/UtilityTestIds.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/ThreadLocale.h"

using alk_test::W;

namespace {

const LCID kUnitedStates = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID kGermany = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
// Persian (Iran) as Wine defines it: "." as decimal point and the minus sign after the number.
const LCID kTrailingMinus = MAKELCID(MAKELANGID(LANG_PERSIAN, SUBLANG_PERSIAN_IRAN), SORT_DEFAULT);

// The thread's locale for a scope; a locale that cannot be set fails the test.
class InLocale : public CThreadLocale {
public:
    explicit InLocale(LCID locale) : CThreadLocale(locale) { EXPECT_TRUE(IsSet()); }
};

// Unit settings of the process-wide settings object, put back after each test.
class WithUnits : public ::testing::Test {
protected:
    CSettingsScope m_settings;
};

struct NumberCase {
    float value;
    bool decimals, currency;
    const wchar_t* us;
    const wchar_t* de;
};

TEST(FormatNumber, InBothLocales)
{
    const NumberCase cases[] = {
        {1234.5f, true, false, L"1,234.50", L"1.234,50"},
        {12345.0f, false, false, L"12,345", L"12.345"},
        {12345.9f, false, false, L"12,345", L"12.345"},  // truncated, not rounded
        {0.0f, true, false, L"0.00", L"0,00"},
        {0.004f, true, false, L"0.00", L"0,00"},
        {-5.75f, true, false, L"-5.75", L"-5,75"},  // a negative value keeps its fraction
        {-0.004f, true, false, L"0.00", L"0,00"},   // no negative zero
        {-1234.5f, false, false, L"-1,234", L"-1.234"},
        {3.1f, true, true, L"$3.10", L"3,10 \u20ac"},
        {1234.5f, true, true, L"$1,234.50", L"1.234,50 \u20ac"},
        {-25.75f, true, true, L"($25.75)", L"-25,75 \u20ac"},  // each locale's negative money
        {-1234.5f, true, true, L"($1,234.50)", L"-1.234,50 \u20ac"},
        {0.0f, true, true, L"$0.00", L"0,00 \u20ac"},
        {-0.004f, true, true, L"$0.00", L"0,00 \u20ac"},
        {12.9f, false, true, L"$12.00", L"12,00 \u20ac"},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << (c.decimals ? " decimals" : "") << (c.currency ? " money" : ""));
        InLocale us(kUnitedStates);
        EXPECT_EQ(std::wstring(c.us), FormatNumber(c.value, c.decimals, c.currency).GetString());
        InLocale de(kGermany);
        EXPECT_EQ(std::wstring(c.de), FormatNumber(c.value, c.decimals, c.currency).GetString());
    }
}

TEST(FormatNumber, WithoutDecimalsATrailingMinusStays)
{
    InLocale fa(kTrailingMinus);
    ASSERT_EQ(L"1,234.50-", FormatNumber(-1234.5f, true, false)) << "the locale no longer puts the sign last";
    EXPECT_EQ(L"1,234-", FormatNumber(-1234.0f, false, false));
}

TEST(FormatNumber, ValuesBeyondTheWholeNumberRangeAreClamped)
{
    // Wine 8 groups only the last three digits in the United States format: compare the digits.
    auto digits = [](const CString& text) {
        std::wstring s = W(text);
        s.erase(std::remove(s.begin(), s.end(), L','), s.end());
        return s;
    };
    InLocale us(kUnitedStates);
    EXPECT_EQ(L"2147483647", digits(FormatNumber(1e12f, false, false)));
    EXPECT_EQ(L"-2147483648", digits(FormatNumber(-1e12f, false, false)));
}

TEST(FormatDate, ShortDateWithoutTheTimeOfDay)
{
    // OLE dates count days from 30 December 1899: 36526 is 1 January 2000.
    const SYSTEMTIME start = {2000, 1, 6, 1, 9, 30, 0, 0};
    const SYSTEMTIME end = {2000, 12, 0, 31, 23, 0, 0, 0};
    {
        InLocale us(kUnitedStates);
        EXPECT_EQ(L"1/1/2000", FormatDate(36526.75));
        EXPECT_EQ(L"2/29/2024", FormatDate(45351.999));
        EXPECT_EQ(L"1/1/2000 - 12/31/2000", FormatDateRange(start, end));
    }
    InLocale de(kGermany);
    EXPECT_EQ(L"1.1.2000", FormatDate(36526.0));
    EXPECT_EQ(L"1.1.2000 - 31.12.2000", FormatDateRange(start, end));
}

TEST(FormatDate, RangeOfAFilter)
{
    InLocale us(kUnitedStates);
    CEntryFilter filter;
    filter.SetDateRangeType(CEntryFilter::drAll);
    EXPECT_EQ(L"All Dates", FormatDateRange(filter));

    filter.SetDateRangeType(CEntryFilter::drCustom);
    filter.SetStartDate(SYSTEMTIME{2000, 1, 6, 1, 12, 0, 0, 0}, TRUE);
    filter.SetEndDate(SYSTEMTIME{2000, 12, 0, 31, 12, 0, 0, 0}, TRUE);
    EXPECT_EQ(L"1/1/2000 - 12/31/2000", FormatDateRange(filter));

    filter.SetDateRangeType(CEntryFilter::drLastWeek);  // today's dates, whatever they are
    const std::wstring text = W(FormatDateRange(filter));
    EXPECT_EQ(4, std::count(text.begin(), text.end(), L'/')) << testing::PrintToString(text);
    EXPECT_NE(std::wstring::npos, text.find(L" - "));
}

TEST_F(WithUnits, CaptionsOfVehiclesAndEntries)
{
    InLocale us(kUnitedStates);
    CVehicle car;
    car.SetName(L"Family Car");
    car.SetYear(2002);
    EXPECT_EQ(L"Family Car (2002)", FormatVehicleCaption(car));

    CEntry fuel;
    fuel.SetType(CEntry::etFuel);
    fuel.SetName(L"not shown");
    fuel.SetVendor(L"Corner Garage");
    fuel.SetCustom1(12.5f);  // quantity
    fuel.SetCustom2(3.1f);   // price per unit
    EXPECT_EQ(L"12.50 gal @ $3.10 (Corner Garage)", FormatEntryCaption(fuel));
    fuel.SetVendor(L"");
    g_AppSettings.UnitVolume = 2;
    EXPECT_EQ(L"12.50 ltr @ $3.10", FormatEntryCaption(fuel));
    {
        InLocale de(kGermany);
        EXPECT_EQ(L"12,50 ltr @ 3,10 \u20ac", FormatEntryCaption(fuel));
    }

    CEntry trip;
    trip.SetType(CEntry::etTrip);
    trip.SetName(L"Client visit");
    trip.SetVendor(L"Business");  // a trip's category
    trip.SetCustom1(1200);
    EXPECT_EQ(L"Client visit (Business)", FormatEntryCaption(trip));
    CEntry repair;
    repair.SetType(CEntry::etRepair);
    repair.SetName(L"Oil change");
    EXPECT_EQ(L"Oil change", FormatEntryCaption(repair));
}

TEST_F(WithUnits, UnitNamesFollowTheSettingsAtEachCall)
{
    const struct {
        int setting;
        const wchar_t *full, *shortName, *lower;
    } distance[] = {{0, L"Miles", L"Mi", L"mi"}, {1, L"Kilometres", L"Km", L"km"}, {2, L"", L"", L""}},
      volume[] = {{0, L"Gallons (US)", L"Gal", L"gal"},
                  {1, L"Gallons (UK)", L"Gal", L"gal"},
                  {2, L"Litres", L"Ltr", L"ltr"},
                  {-1, L"", L"", L""}};
    for (const auto& d : distance) {
        g_AppSettings.UnitDistance = d.setting;
        EXPECT_EQ(d.full, GetDistanceUnitName(false, false)) << d.setting;
        EXPECT_EQ(d.shortName, GetDistanceUnitName(true, false)) << d.setting;
        EXPECT_EQ(d.lower, GetDistanceUnitName(true, true)) << d.setting;
    }
    for (const auto& v : volume) {
        g_AppSettings.UnitVolume = v.setting;
        EXPECT_EQ(v.full, GetVolumeUnitName(false, false)) << v.setting;
        EXPECT_EQ(v.shortName, GetVolumeUnitName(true, false)) << v.setting;
        EXPECT_EQ(v.lower, GetVolumeUnitName(true, true)) << v.setting;
    }
    g_AppSettings.UnitDistance = 0;
    EXPECT_EQ(L"miles", GetDistanceUnitName(false, true));
}

TEST(LoadResString, TextsOfAnyLength)
{
    EXPECT_EQ(L"All Dates", LoadResString(IDS_ALL_DATES));
    EXPECT_TRUE(LoadResString(59999).IsEmpty());
    EXPECT_EQ(std::wstring(255, L'L'), W(LoadResString(IDS_TEST_255)));
    EXPECT_EQ(std::wstring(256, L'M'), W(LoadResString(IDS_TEST_256)));
    const std::wstring t600 = W(LoadResString(IDS_TEST_600));
    ASSERT_EQ(600u, t600.size());
    EXPECT_EQ(wchar_t(L'A' + 599 % 26), t600.back());
}

TEST(ConvertDecimalSeparator, FirstSeparatorOnlyAndOnlyWhenItFits)
{
    InLocale de(kGermany);
    wchar_t text[8] = L"1,2,3";
    ConvertDecimalSeparator(text, 8, true);
    EXPECT_STREQ(L"1.2,3", text);
    ConvertDecimalSeparator(text, 8, false);
    EXPECT_STREQ(L"1,2,3", text);
    wcscpy(text, L"12.5");  // 4 characters and a 1-character separator must stay under capacity-1
    ConvertDecimalSeparator(text, 5, false);
    EXPECT_STREQ(L"12.5", text);
    ConvertDecimalSeparator(text, 6, false);
    EXPECT_STREQ(L"12,5", text);

    InLocale us(kUnitedStates);
    wcscpy(text, L"1,234.5");
    ConvertDecimalSeparator(text, 8, true);
    EXPECT_STREQ(L"1,234.5", text);
}

TEST(LoadFileFilter, PairsSeparatedByNulsEndingInTwoNuls)
{
    // The pieces as the file dialogs read them: up to the first empty one.
    auto pieces = [](const std::wstring& filter) {
        std::vector<std::wstring> result;
        for (const wchar_t* p = filter.c_str(); *p; p += result.back().size() + 1) result.push_back(p);
        return result;
    };
    const std::wstring images = W(LoadFileFilter(IDS_FILTER_IMAGES));
    EXPECT_EQ(63u, images.size()) << "the text's full length, separators now NULs";
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Image Files", L"*.gif;*.jpg;*.bmp;*.png;*.jpeg", L"All Files (*.*)", L"*.*"}),
        pieces(images));
    EXPECT_EQ((std::vector<std::wstring>{L"Autolark Data Files (*.dat)", L"*.dat"}),
              pieces(W(LoadFileFilter(IDS_FILTER_DATABASE))));
    EXPECT_TRUE(LoadFileFilter(59999).IsEmpty());
}

TEST(SmallHelpers, AppDirectory)
{
    wchar_t dir[MAX_PATH];
    GetAppDirectory(dir);
    const std::wstring folder = dir;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(L'\\', folder.back());
    const DWORD attributes = GetFileAttributesW((folder + L"desktop_format.exe").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(SmallHelpers, AddDaysKeepsTheTimeOfDay)
{
    const SYSTEMTIME start = {2024, 2, 3, 28, 17, 45, 30, 250};  // Wednesday 28 February 2024
    const struct {
        int days;
        WORD year, month, day, weekday;
    } cases[] = {
        {1, 2024, 2, 29, 4}, {2, 2024, 3, 1, 5}, {-59, 2023, 12, 31, 0}, {366, 2025, 2, 28, 5}, {0, 2024, 2, 28, 3}};
    for (const auto& c : cases) {
        SYSTEMTIME r;
        AddDaysToSystemTime(&r, c.days, &start);
        EXPECT_EQ(c.year, r.wYear) << c.days;
        EXPECT_EQ(c.month, r.wMonth) << c.days;
        EXPECT_EQ(c.day, r.wDay) << c.days;
        EXPECT_EQ(c.weekday, r.wDayOfWeek) << c.days;
        EXPECT_TRUE(r.wHour == 17 && r.wMinute == 45 && r.wSecond == 30 && r.wMilliseconds == 250) << c.days;
    }
    SYSTEMTIME same = start;
    AddDaysToSystemTime(&same, 2, &same);
    EXPECT_EQ(1, same.wDay);
}

TEST(SmallHelpers, AddDaysThatLeaveTheCalendarMoveNothing)
{
    const SYSTEMTIME start = {2008, 3, 6, 15, 12, 0, 0, 0};
    // 11 million days overflow the 100-nanosecond count (the sum would wrap into another date);
    // a million days back fall before 1601.
    for (int days : {11000000, 2147483647, -1000000, -2147483647 - 1}) {
        SYSTEMTIME r = {};
        EXPECT_FALSE(AddDaysToSystemTime(&r, days, &start)) << days;
        EXPECT_TRUE(r.wYear == 2008 && r.wMonth == 3 && r.wDay == 15 && r.wHour == 12) << days << ": " << r.wYear;
    }
    // The far ends that still hold: the year 30000, and 1 January 1601.
    SYSTEMTIME r = {};
    EXPECT_TRUE(AddDaysToSystemTime(&r, 10221000, &start));
    EXPECT_EQ(29992, r.wYear);
    const SYSTEMTIME first = {1601, 1, 1, 1, 0, 0, 0, 0};
    EXPECT_TRUE(AddDaysToSystemTime(&r, 0, &first));
    EXPECT_FALSE(AddDaysToSystemTime(&r, -1, &first));
    EXPECT_EQ(1601, r.wYear);
    // Not a date at all.
    const SYSTEMTIME bad = {2008, 13, 0, 40, 0, 0, 0, 0};
    EXPECT_FALSE(AddDaysToSystemTime(&r, 1, &bad));
}

TEST(FormatDateRange, AnEndThatIsNoDateGivesNoText)
{
    InLocale us(kUnitedStates);
    const SYSTEMTIME start = {2000, 1, 6, 1, 0, 0, 0, 0};
    const SYSTEMTIME noDate = {2000, 13, 0, 45, 0, 0, 0, 0};
    // Not "12/30/1899", the day 0 a failed conversion leaves.
    EXPECT_EQ(L"", FormatDateRange(start, noDate));
    EXPECT_EQ(L"", FormatDateRange(noDate, start));
    EXPECT_EQ(L"1/1/2000 - 1/1/2000", FormatDateRange(start, start));
}

TEST(SmallHelpers, SpinControlRangeAndAcceleration)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    HWND parent = CreateWindowExW(0, L"STATIC", L"spin", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD, 0, 0, 20, 20, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, spin);
    SetupSpinControl(spin, 1000000, 10);  // beyond the 16-bit range
    int low = -7, high = -7;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(0, low);
    EXPECT_EQ(1000000, high);
    UDACCEL accel[4] = {};
    ASSERT_EQ(1, SendMessageW(spin, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(accel)));
    EXPECT_EQ(1u, accel[0].nSec);
    EXPECT_EQ(10u, accel[0].nInc);
    DestroyWindow(parent);
}

}  // namespace
