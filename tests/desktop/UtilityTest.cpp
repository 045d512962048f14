// Display formatting and the small helpers, in a United States locale and in a German one
// (decimal comma, "." grouping, the currency symbol after the amount), set as the thread's locale.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/AppSettings.h"
#include "desktop/Utility.h"
#include "resources/desktop/resource.h"
#include "tests/desktop/CStringPrinting.h"
#include "tests/desktop/UtilityTestIds.h"

using alk_test::W;

namespace {

const LCID kUnitedStates = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID kGermany = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
// Persian (Iran) as Wine defines it: "." decimal point and the minus sign after the number.
const LCID kTrailingMinus = MAKELCID(MAKELANGID(LANG_PERSIAN, SUBLANG_PERSIAN_IRAN), SORT_DEFAULT);

class InLocale {
public:
    explicit InLocale(LCID locale) : saved_(GetThreadLocale()) { EXPECT_TRUE(SetThreadLocale(locale)); }
    ~InLocale() { SetThreadLocale(saved_); }

private:
    LCID saved_;
};

// The pieces of a NUL-separated filter list, read the way the file dialogs read it: up to the
// first empty piece.
std::vector<std::wstring> FilterPieces(const std::wstring& filter) {
    std::vector<std::wstring> pieces;
    const wchar_t* p = filter.c_str();
    while (*p) {
        pieces.push_back(p);
        p += pieces.back().size() + 1;
    }
    return pieces;
}

// ---- numbers --------------------------------------------------------------------------------

TEST(FormatNumber, UnitedStates) {
    InLocale us(kUnitedStates);
    EXPECT_EQ(L"1,234.50", FormatNumber(1234.5f, true, false));
    EXPECT_EQ(L"12,345", FormatNumber(12345.0f, false, false));
    EXPECT_EQ(L"12,345", FormatNumber(12345.9f, false, false));  // truncated, not rounded
    EXPECT_EQ(L"0.00", FormatNumber(0.0f, true, false));
    EXPECT_EQ(L"0.00", FormatNumber(0.004f, true, false));
    EXPECT_EQ(L"-5.00", FormatNumber(-5.75f, true, false));  // negative values lose their fraction
    EXPECT_EQ(L"-5", FormatNumber(-5.75f, false, false));
    EXPECT_EQ(L"0", FormatNumber(0.0f, false, false));
    EXPECT_EQ(L"12.35", FormatNumber(12.345678f, true, false));
}

TEST(FormatNumber, UnitedStatesCurrency) {
    InLocale us(kUnitedStates);
    EXPECT_EQ(L"$3.10", FormatNumber(3.1f, true, true));
    EXPECT_EQ(L"$1,234.50", FormatNumber(1234.5f, true, true));
    EXPECT_EQ(L"$0.00", FormatNumber(0.0f, true, true));
    EXPECT_EQ(L"($5.00)", FormatNumber(-5.75f, true, true));  // the locale's negative form
    EXPECT_EQ(L"$12.00", FormatNumber(12.9f, false, true));    // whole money keeps its cents
}

TEST(FormatNumber, Germany) {
    InLocale de(kGermany);
    EXPECT_EQ(L"1.234,50", FormatNumber(1234.5f, true, false));
    EXPECT_EQ(L"12.345", FormatNumber(12345.0f, false, false));
    EXPECT_EQ(L"0,00", FormatNumber(0.0f, true, false));
    EXPECT_EQ(L"-5,00", FormatNumber(-5.75f, true, false));
    EXPECT_EQ(L"-1.234", FormatNumber(-1234.5f, false, false));
    EXPECT_EQ(L"3,10 \u20ac", FormatNumber(3.1f, true, true));
    EXPECT_EQ(L"1.234,50 \u20ac", FormatNumber(1234.5f, true, true));
    EXPECT_EQ(L"-5,00 \u20ac", FormatNumber(-5.75f, true, true));
}

TEST(FormatNumber, WithoutDecimalsATrailingSignStays) {
    InLocale fa(kTrailingMinus);
    ASSERT_EQ(L"1,234.00-", FormatNumber(-1234.5f, true, false)) << "this locale no longer puts the minus sign last";
    EXPECT_EQ(L"1,234-", FormatNumber(-1234.0f, false, false));
    EXPECT_EQ(L"1,234", FormatNumber(1234.0f, false, false));
}

// Wine 8 groups only the lowest three digits of the United States format ("3;0"), so numbers of
// seven digits or more are compared without their grouping.
std::wstring WithoutGrouping(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L','), text.end());
    return text;
}

TEST(FormatNumber, ValuesBeyondTheWholeNumberRangeDoNotWrapAround) {
    InLocale us(kUnitedStates);
    EXPECT_EQ(L"2147483647", WithoutGrouping(W(FormatNumber(1e12f, false, false))));
    EXPECT_EQ(L"-2147483648", WithoutGrouping(W(FormatNumber(-1e12f, false, false))));
    EXPECT_EQ(L"1000000", WithoutGrouping(W(FormatNumber(1000000.0f, false, false))));
}

// ---- dates ----------------------------------------------------------------------------------

// OLE dates count days from 30 December 1899: 36526 is 1 January 2000, 36891 is 31 December 2000.
TEST(FormatDate, ShortDateWithoutTimeOfDay) {
    {
        InLocale us(kUnitedStates);
        EXPECT_EQ(L"1/1/2000", FormatDate(36526.0));
        EXPECT_EQ(L"1/1/2000", FormatDate(36526.75));  // 18:00 is not shown
        EXPECT_EQ(L"12/31/2000", FormatDate(36891.999));
        EXPECT_EQ(L"2/29/2024", FormatDate(45351.5));
    }
    InLocale de(kGermany);
    EXPECT_EQ(L"1.1.2000", FormatDate(36526.0));
    EXPECT_EQ(L"31.12.2000", FormatDate(36891.5));
}

TEST(FormatDate, DateRange) {
    const SYSTEMTIME start = {2000, 1, 6, 1, 9, 30, 0, 0};
    const SYSTEMTIME end = {2000, 12, 0, 31, 23, 0, 0, 0};
    {
        InLocale us(kUnitedStates);
        EXPECT_EQ(L"1/1/2000 - 12/31/2000", FormatDateRange(start, end));
    }
    InLocale de(kGermany);
    EXPECT_EQ(L"1.1.2000 - 31.12.2000", FormatDateRange(start, end));
}

TEST(FormatDate, RangeOfAFilter) {
    InLocale us(kUnitedStates);
    CEntryFilter all;
    all.SetDateRangeType(CEntryFilter::drAll);
    EXPECT_EQ(L"All Dates", FormatDateRange(all));

    CEntryFilter custom;
    custom.SetDateRangeType(CEntryFilter::drCustom);
    custom.SetStartDate(SYSTEMTIME{2000, 1, 6, 1, 12, 0, 0, 0}, TRUE);
    custom.SetEndDate(SYSTEMTIME{2000, 12, 0, 31, 12, 0, 0, 0}, TRUE);
    EXPECT_EQ(L"1/1/2000 - 12/31/2000", FormatDateRange(custom));

    // A preset is a range of today's dates: two dates, not "All Dates".
    CEntryFilter week;
    week.SetDateRangeType(CEntryFilter::drLastWeek);
    const std::wstring text = W(FormatDateRange(week));
    const size_t dash = text.find(L" - ");
    ASSERT_NE(std::wstring::npos, dash) << testing::PrintToString(text);
    EXPECT_EQ(2, std::count(text.begin(), text.begin() + dash, L'/'));
    EXPECT_EQ(2, std::count(text.begin() + dash, text.end(), L'/'));
}

// ---- captions ---------------------------------------------------------------------------------

class Captions : public ::testing::Test {
protected:
    void SetUp() override { volume_ = g_AppSettings.UnitVolume; }
    void TearDown() override { g_AppSettings.UnitVolume = volume_; }

    static void Fill(CEntry& e, CEntry::Type type, const wchar_t* name, const wchar_t* vendor) {
        e.SetType(type);
        e.SetName(name);
        e.SetVendor(vendor);
    }

private:
    int volume_ = 0;
};

TEST_F(Captions, Vehicle) {
    CVehicle car;
    car.SetName(L"Family Car");
    car.SetYear(2002);
    EXPECT_EQ(L"Family Car (2002)", FormatVehicleCaption(car));
    car.SetName(L"Van");
    car.SetYear(1999);
    EXPECT_EQ(L"Van (1999)", FormatVehicleCaption(car));
}

TEST_F(Captions, FuelEntryShowsQuantityUnitPriceAndVendor) {
    InLocale us(kUnitedStates);
    g_AppSettings.UnitVolume = 0;
    CEntry fuel;
    Fill(fuel, CEntry::etFuel, L"not shown", L"Corner Garage");
    fuel.SetCustom1(12.5f);
    fuel.SetCustom2(3.1f);
    fuel.SetAmount(38.75f);
    EXPECT_EQ(L"12.50 gal @ $3.10 (Corner Garage)", FormatEntryCaption(fuel));

    fuel.SetVendor(L"");
    EXPECT_EQ(L"12.50 gal @ $3.10", FormatEntryCaption(fuel));

    // The unit is read at each call.
    g_AppSettings.UnitVolume = 2;
    EXPECT_EQ(L"12.50 ltr @ $3.10", FormatEntryCaption(fuel));
}

TEST_F(Captions, FuelEntryInTheGermanLocale) {
    InLocale de(kGermany);
    g_AppSettings.UnitVolume = 2;
    CEntry fuel;
    Fill(fuel, CEntry::etFuel, L"", L"Tankstelle Nord");
    fuel.SetCustom1(40.0f);
    fuel.SetCustom2(1.659f);
    EXPECT_EQ(L"40,00 ltr @ 1,66 € (Tankstelle Nord)", FormatEntryCaption(fuel));
}

TEST_F(Captions, OtherEntriesShowTheirDescriptionAndVendor) {
    CEntry trip;
    Fill(trip, CEntry::etTrip, L"Client visit", L"Business");
    EXPECT_EQ(L"Client visit (Business)", FormatEntryCaption(trip));

    CEntry repair;
    Fill(repair, CEntry::etRepair, L"Oil change", L"");
    EXPECT_EQ(L"Oil change", FormatEntryCaption(repair));
    repair.SetVendor(L"Quick Lube");
    EXPECT_EQ(L"Oil change (Quick Lube)", FormatEntryCaption(repair));

    CEntry expense;
    Fill(expense, CEntry::etExpense, L"Parking", L"City");
    expense.SetCustom1(99.0f);  // no meaning outside fuel and trips
    EXPECT_EQ(L"Parking (City)", FormatEntryCaption(expense));
}

// ---- string table and unit names --------------------------------------------------------------

TEST(LoadResString, TextsOfAnyLength) {
    EXPECT_EQ(L"All Dates", LoadResString(IDS_ALL_DATES));
    EXPECT_EQ(L"", LoadResString(59999));  // no such string
    EXPECT_EQ(std::wstring(255, L'L'), W(LoadResString(IDS_TEST_255)));
    EXPECT_EQ(std::wstring(256, L'M'), W(LoadResString(IDS_TEST_256)));
    const std::wstring t300 = W(LoadResString(IDS_TEST_300));
    ASSERT_EQ(300u, t300.size());
    EXPECT_EQ(L'a', t300[0]);
    EXPECT_EQ(wchar_t(L'a' + 299 % 26), t300[299]);
    const std::wstring t600 = W(LoadResString(IDS_TEST_600));
    ASSERT_EQ(600u, t600.size());
    EXPECT_EQ(wchar_t(L'A' + 599 % 26), t600[599]);
}

class UnitNames : public ::testing::Test {
protected:
    void SetUp() override {
        distance_ = g_AppSettings.UnitDistance;
        volume_ = g_AppSettings.UnitVolume;
    }
    void TearDown() override {
        g_AppSettings.UnitDistance = distance_;
        g_AppSettings.UnitVolume = volume_;
    }

private:
    int distance_ = 0;
    int volume_ = 0;
};

TEST_F(UnitNames, Distance) {
    g_AppSettings.UnitDistance = 0;
    EXPECT_EQ(L"Miles", GetDistanceUnitName(false, false));
    EXPECT_EQ(L"Mi", GetDistanceUnitName(true, false));
    EXPECT_EQ(L"miles", GetDistanceUnitName(false, true));
    EXPECT_EQ(L"mi", GetDistanceUnitName(true, true));
    g_AppSettings.UnitDistance = 1;  // read at each call
    EXPECT_EQ(L"Kilometres", GetDistanceUnitName(false, false));
    EXPECT_EQ(L"Km", GetDistanceUnitName(true, false));
    EXPECT_EQ(L"km", GetDistanceUnitName(true, true));
    g_AppSettings.UnitDistance = 2;
    EXPECT_EQ(L"", GetDistanceUnitName(false, false));
    g_AppSettings.UnitDistance = -1;
    EXPECT_EQ(L"", GetDistanceUnitName(true, true));
}

TEST_F(UnitNames, Volume) {
    g_AppSettings.UnitVolume = 0;
    EXPECT_EQ(L"Gallons (US)", GetVolumeUnitName(false, false));
    EXPECT_EQ(L"Gal", GetVolumeUnitName(true, false));
    EXPECT_EQ(L"gallons (us)", GetVolumeUnitName(false, true));
    g_AppSettings.UnitVolume = 1;
    EXPECT_EQ(L"Gallons (UK)", GetVolumeUnitName(false, false));
    EXPECT_EQ(L"gal", GetVolumeUnitName(true, true));
    g_AppSettings.UnitVolume = 2;
    EXPECT_EQ(L"Litres", GetVolumeUnitName(false, false));
    EXPECT_EQ(L"Ltr", GetVolumeUnitName(true, false));
    EXPECT_EQ(L"ltr", GetVolumeUnitName(true, true));
    g_AppSettings.UnitVolume = 3;
    EXPECT_EQ(L"", GetVolumeUnitName(false, false));
    EXPECT_EQ(L"", GetVolumeUnitName(true, true));
}

// ---- decimal separator ------------------------------------------------------------------------

TEST(ConvertDecimalSeparator, CommaLocaleBothWays) {
    InLocale de(kGermany);
    wchar_t text[32] = L"3,5";
    ConvertDecimalSeparator(text, 32, true);
    EXPECT_STREQ(L"3.5", text);
    ConvertDecimalSeparator(text, 32, false);
    EXPECT_STREQ(L"3,5", text);

    // Only the first occurrence, in either direction.
    wcscpy(text, L"1,2,3");
    ConvertDecimalSeparator(text, 32, true);
    EXPECT_STREQ(L"1.2,3", text);
    wcscpy(text, L"1.2.3");
    ConvertDecimalSeparator(text, 32, false);
    EXPECT_STREQ(L"1,2.3", text);

    // Nothing to convert.
    wcscpy(text, L"42");
    ConvertDecimalSeparator(text, 32, true);
    EXPECT_STREQ(L"42", text);
    ConvertDecimalSeparator(text, 32, false);
    EXPECT_STREQ(L"42", text);
}

TEST(ConvertDecimalSeparator, FromThePointOnlyWhenTheSeparatorSurelyFits) {
    InLocale de(kGermany);
    wchar_t text[6] = L"12.5";  // 4 characters and the separator's 1 must stay under 5
    ConvertDecimalSeparator(text, 5, false);
    EXPECT_STREQ(L"12.5", text);
    ConvertDecimalSeparator(text, 6, false);
    EXPECT_STREQ(L"12,5", text);
}

TEST(ConvertDecimalSeparator, PointLocaleChangesNothing) {
    InLocale us(kUnitedStates);
    wchar_t text[32] = L"1,234.5";
    ConvertDecimalSeparator(text, 32, true);
    EXPECT_STREQ(L"1,234.5", text);
    ConvertDecimalSeparator(text, 32, false);
    EXPECT_STREQ(L"1,234.5", text);
}

// ---- file filters -------------------------------------------------------------------------------

TEST(LoadFileFilter, ImageFilesGiveTwoPairsClosedByTwoNuls) {
    const std::wstring filter = W(LoadFileFilter(IDS_FILTER_IMAGES));
    // Full length kept: the text's every character, separators now NULs.
    EXPECT_EQ(wcslen(L"Image Files|*.gif;*.jpg;*.bmp;*.png;*.jpeg|All Files (*.*)|*.*|"), filter.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Image Files", L"*.gif;*.jpg;*.bmp;*.png;*.jpeg", L"All Files (*.*)",
                                         L"*.*"}),
              FilterPieces(filter));
    ASSERT_GE(filter.size(), 1u);
    EXPECT_EQ(L'\0', filter[filter.size() - 1]);
    EXPECT_EQ(L'\0', filter.c_str()[filter.size()]);
    EXPECT_EQ(std::wstring::npos, filter.find(L'|'));
}

TEST(LoadFileFilter, DatabaseFilesGiveOnePair) {
    for (UINT id : {IDS_FILTER_DATABASE, IDS_FILTER_OLD_DATA}) {
        const std::wstring filter = W(LoadFileFilter(id));
        EXPECT_EQ((std::vector<std::wstring>{L"Autolark Data Files (*.dat)", L"*.dat"}), FilterPieces(filter)) << id;
    }
}

TEST(LoadFileFilter, MissingTextGivesAnEmptyFilter) {
    EXPECT_TRUE(LoadFileFilter(59999).IsEmpty());
    const std::wstring bar = W(LoadFileFilter(IDS_TEST_EMPTY_FILTER));
    EXPECT_EQ(std::wstring(1, L'\0'), bar);
    EXPECT_TRUE(FilterPieces(bar).empty());
}

// ---- program folder ---------------------------------------------------------------------------

TEST(GetAppDirectory, FolderOfTheRunningProgramWithTrailingBackslash) {
    wchar_t dir[MAX_PATH];
    GetAppDirectory(dir);
    const std::wstring folder = dir;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(L'\\', folder.back());
    EXPECT_EQ(std::wstring::npos, folder.find(L"desktop_format.exe"));
    const DWORD attributes = GetFileAttributesW((folder + L"desktop_format.exe").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- days -------------------------------------------------------------------------------------

TEST(AddDaysToSystemTime, MovesWholeDaysKeepingTheTimeOfDay) {
    const SYSTEMTIME start = {2024, 2, 3, 28, 17, 45, 30, 250};  // Wednesday 28 February 2024
    SYSTEMTIME r;

    AddDaysToSystemTime(&r, 1, &start);
    EXPECT_EQ(2024, r.wYear);
    EXPECT_EQ(2, r.wMonth);
    EXPECT_EQ(29, r.wDay);  // leap day
    EXPECT_EQ(4, r.wDayOfWeek);
    EXPECT_EQ(17, r.wHour);
    EXPECT_EQ(45, r.wMinute);
    EXPECT_EQ(30, r.wSecond);
    EXPECT_EQ(250, r.wMilliseconds);

    AddDaysToSystemTime(&r, 2, &start);
    EXPECT_EQ(3, r.wMonth);
    EXPECT_EQ(1, r.wDay);

    AddDaysToSystemTime(&r, -59, &start);  // back over the new year
    EXPECT_EQ(2023, r.wYear);
    EXPECT_EQ(12, r.wMonth);
    EXPECT_EQ(31, r.wDay);
    EXPECT_EQ(17, r.wHour);

    AddDaysToSystemTime(&r, 366, &start);
    EXPECT_EQ(2025, r.wYear);
    EXPECT_EQ(2, r.wMonth);
    EXPECT_EQ(28, r.wDay);

    AddDaysToSystemTime(&r, 0, &start);
    EXPECT_EQ(28, r.wDay);
    EXPECT_EQ(3, r.wDayOfWeek);
}

TEST(AddDaysToSystemTime, ResultMayBeTheStartItself) {
    SYSTEMTIME t = {2000, 12, 0, 31, 8, 0, 0, 0};
    AddDaysToSystemTime(&t, 1, &t);
    EXPECT_EQ(2001, t.wYear);
    EXPECT_EQ(1, t.wMonth);
    EXPECT_EQ(1, t.wDay);
    EXPECT_EQ(8, t.wHour);
}

// ---- spin control -----------------------------------------------------------------------------

TEST(SetupSpinControl, RangeFromZeroAndOneAccelerationAfterASecond) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_UPDOWN_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND parent = CreateWindowExW(0, L"STATIC", L"spin test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, parent);
    HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, spin);

    SetupSpinControl(spin, 1000000, 10);  // beyond the 16-bit range
    int low = -7, high = -7;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(0, low);
    EXPECT_EQ(1000000, high);

    UDACCEL accel[4] = {};
    const LRESULT count = SendMessageW(spin, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(accel));
    ASSERT_EQ(1, count);
    EXPECT_EQ(1u, accel[0].nSec);
    EXPECT_EQ(10u, accel[0].nInc);

    DestroyWindow(parent);
}

}  // namespace
