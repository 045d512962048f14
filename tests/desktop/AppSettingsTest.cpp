// The settings store against the test prefix's registry: defaults, what the end of a run writes
// and in which form, what a load refuses, and when nothing may be written.
#include <string>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "tests/desktop/CStringPrinting.h"
#include "tests/desktop/RegistryTestKey.h"

using namespace alk_test;

namespace {

const wchar_t* const kKey = ALK_SETTINGS_KEY;
using AppSettingsTest = SettingsKeyTest;

TEST_F(AppSettingsTest, AFreshRegistryGivesTheDefaultsAndTheFirstExitWritesEveryValue)
{
    {
        CAppSettings s;
        EXPECT_NE(ERROR_SUCCESS, s.Load());
        EXPECT_STREQ(L"", s.DBPath);
        EXPECT_EQ(1, s.SortAscending);
        EXPECT_EQ(CEntryFilter::drAll, s.ViewDateRangeType);
        EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
        EXPECT_EQ(1, s.ShowVehiclePicture);
        EXPECT_EQ(1, s.ExcelFormatCells);
        EXPECT_EQ(L"[$-409]d-mmm-yy;@", s.ExcelFmt_Date);
        EXPECT_EQ(L"$#,##0.00", s.ExcelFmt_Currency);
        EXPECT_EQ(RGB(206, 239, 165), s.EvenRowColor);
    }  // the end of a run that loaded

    const struct {
        const wchar_t* name;
        DWORD type;
    } stored[] = {
        {L"DBPath", REG_SZ},
        {L"LastActiveVehicle", REG_DWORD},
        {L"SortAscending", REG_DWORD},
        {L"LastColSorted", REG_DWORD},
        {L"ViewEntryType", REG_DWORD},
        {L"ViewDateRangeType", REG_DWORD},
        {L"UnitDistance", REG_DWORD},
        {L"UnitVolume", REG_DWORD},
        {L"UnitFuelEconomy", REG_DWORD},
        {L"UnitSetupMsgShown", REG_DWORD},
        {L"MileageRate", REG_BINARY},
        {L"ShowVehiclePicture", REG_DWORD},
        {L"ExcelFormatCells", REG_DWORD},
        {L"ExcelFmt_Date", REG_SZ},
        {L"ExcelFmt_Integer", REG_SZ},
        {L"ExcelFmt_Float", REG_SZ},
        {L"ExcelFmt_Currency", REG_SZ},
    };
    for (const auto& value : stored)
        EXPECT_EQ(value.type, ReadRaw(kKey, value.name).type) << testing::PrintToString(std::wstring(value.name));
    EXPECT_FALSE(ReadRaw(kKey, L"ActiveOdometer").exists);

    // The forms other programs read: the IEEE single 0x3EB851EC (0.36) little-endian; shown as -1.
    EXPECT_EQ((std::vector<BYTE>{0xEC, 0x51, 0xB8, 0x3E}), ReadRaw(kKey, L"MileageRate").bytes);
    EXPECT_EQ(0xFFFFFFFFu, ReadRaw(kKey, L"ShowVehiclePicture").Dword());
    EXPECT_EQ(std::vector<BYTE>(2, 0), ReadRaw(kKey, L"DBPath").bytes);  // just the terminator
}

TEST_F(AppSettingsTest, WhatOneRunSavesTheNextLoads)
{
    {
        CAppSettings s;
        s.Load();
        wcscpy(s.DBPath, L"C:\\Daten\\Fahrzeuge \u00e4\u00f6\u00fc.dat");
        s.LastActiveVehicle = 0xCAFEF00Du;
        s.SortAscending = 0;
        s.LastColSorted = 4;
        s.ViewEntryType = CEntry::etTrip;
        s.ViewDateRangeType = CEntryFilter::drYearToDate;
        s.UnitDistance = 1;
        s.UnitVolume = 2;
        s.UnitFuelEconomy = 3;
        s.UnitSetupMsgShown = 1;
        s.MileageRate = 0.485f;
        s.ShowVehiclePicture = 0;
        s.ExcelFmt_Currency = L"#,##0.00 \u20ac";
        s.ActiveOdometer = 12345;  // never stored
    }
    CAppSettings s;
    EXPECT_EQ(ERROR_SUCCESS, s.Load());
    EXPECT_STREQ(L"C:\\Daten\\Fahrzeuge \u00e4\u00f6\u00fc.dat", s.DBPath);
    EXPECT_EQ(0xCAFEF00Du, s.LastActiveVehicle);
    EXPECT_EQ(0, s.SortAscending);
    EXPECT_EQ(4, s.LastColSorted);
    EXPECT_EQ(CEntry::etTrip, s.ViewEntryType);
    EXPECT_EQ(CEntryFilter::drYearToDate, s.ViewDateRangeType);
    EXPECT_EQ(1, s.UnitDistance);
    EXPECT_EQ(2, s.UnitVolume);
    EXPECT_EQ(3, s.UnitFuelEconomy);
    EXPECT_EQ(1, s.UnitSetupMsgShown);
    EXPECT_EQ(0.485f, s.MileageRate);  // every bit travels
    EXPECT_EQ(0, s.ShowVehiclePicture);
    EXPECT_EQ(L"#,##0.00 \u20ac", s.ExcelFmt_Currency);
    EXPECT_EQ(0, s.ActiveOdometer);
}

TEST_F(AppSettingsTest, ValuesOfTheWrongTypeOrSizeKeepTheirDefaults)
{
    const DWORD one = 0x3F800000;  // the bits of 1.0f, as a REG_DWORD
    WriteRaw(kKey, L"MileageRate", REG_DWORD, &one, 4);
    WriteText(kKey, L"UnitDistance", L"1");
    const BYTE twoBytes[2] = {1, 0};
    WriteRaw(kKey, L"UnitVolume", REG_DWORD, twoBytes, 2);
    WriteText(kKey, L"DBPath", std::wstring(261, L'x'));  // longer than any path the data layer connects
    // "0.0" without its terminator; the non-NUL after it keeps RegSetValueEx from counting the
    // next character as the forgotten terminator.
    const wchar_t unterminated[4] = {L'0', L'.', L'0', L'x'};
    WriteRaw(kKey, L"ExcelFmt_Float", REG_SZ, unterminated, 3 * sizeof(wchar_t));
    WriteDword(kKey, L"ExcelFmt_Integer", 7);
    WriteText(kKey, L"ExcelFmt_Currency", std::wstring(259, L'c'));  // the longest that fits
    WriteDword(kKey, L"UnitFuelEconomy", 9);                         // not range-checked
    {
        CAppSettings s;
        wcscpy(s.DBPath, L"C:\\kept.dat");
        s.Load();
        EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
        EXPECT_EQ(0, s.UnitDistance);
        EXPECT_EQ(0, s.UnitVolume);
        EXPECT_STREQ(L"C:\\kept.dat", s.DBPath);
        EXPECT_EQ(L"0.00", s.ExcelFmt_Float);
        EXPECT_EQ(L"#,##0", s.ExcelFmt_Integer);
        EXPECT_EQ(std::wstring(259, L'c'), W(s.ExcelFmt_Currency));
        EXPECT_EQ(9, s.UnitFuelEconomy);
    }
    const BYTE fiveBytes[5] = {0x00, 0x00, 0x80, 0x3F, 0x00};
    WriteRaw(kKey, L"MileageRate", REG_BINARY, fiveBytes, 5);
    WriteDword(kKey, L"ShowVehiclePicture", 7);
    CAppSettings s;
    s.Load();
    EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
    EXPECT_NE(0, s.ShowVehiclePicture);
}

TEST_F(AppSettingsTest, ACustomDateRangeLeavesTheStoredPreset)
{
    {
        CAppSettings s;
        s.Load();
        s.ViewDateRangeType = CEntryFilter::drCustom;
    }
    EXPECT_TRUE(ReadRaw(kKey, L"UnitVolume").exists);
    EXPECT_FALSE(ReadRaw(kKey, L"ViewDateRangeType").exists);

    WriteDword(kKey, L"ViewDateRangeType", CEntryFilter::drMonthToDate);
    {
        CAppSettings s;
        s.Load();
        s.ViewDateRangeType = CEntryFilter::drCustom;
        s.Save();  // as the Options dialog does
        EXPECT_EQ(DWORD(CEntryFilter::drMonthToDate), ReadRaw(kKey, L"ViewDateRangeType").Dword());
        s.ViewDateRangeType = CEntryFilter::drLastTwoWeeks;
    }
    CAppSettings next;
    next.Load();
    EXPECT_EQ(CEntryFilter::drLastTwoWeeks, next.ViewDateRangeType);
}

TEST_F(AppSettingsTest, ARunThatNeverLoadedWritesNothing)
{
    {
        CAppSettings s;
        s.UnitDistance = 1;
    }
    EXPECT_FALSE(KeyExists(kKey));

    WriteText(kKey, L"DBPath", L"C:\\first.dat");
    {
        CAppSettings s;
        wcscpy(s.DBPath, L"C:\\second.dat");
    }
    EXPECT_EQ(L"C:\\first.dat", ReadRaw(kKey, L"DBPath").Text());
    EXPECT_FALSE(ReadRaw(kKey, L"UnitDistance").exists);
}

TEST_F(AppSettingsTest, SaveDBPathWritesThePathAloneAndAlwaysTerminated)
{
    CAppSettings s;
    wcscpy(s.DBPath, L"C:\\Users\\me\\Documents\\My Vehicles.dat");
    s.SaveDBPath();
    EXPECT_EQ(L"C:\\Users\\me\\Documents\\My Vehicles.dat", ReadRaw(kKey, L"DBPath").Text());
    EXPECT_FALSE(ReadRaw(kKey, L"MileageRate").exists);

    for (wchar_t& c : s.DBPath) c = L'p';  // a caller that filled every character
    s.SaveDBPath();
    const RawValue v = ReadRaw(kKey, L"DBPath");
    ASSERT_EQ((CAppSettings::MaxPath + 1) * sizeof(wchar_t), v.bytes.size());
    EXPECT_EQ(std::wstring(CAppSettings::MaxPath, L'p'), v.Text());
}

TEST_F(AppSettingsTest, TheLongestPathTheDataLayerConnectsIsReadBackAtTheNextStart)
{
    // 260 characters: CDataLayer connects such a path and SaveDBPath stores it.
    const std::wstring longest = L"C:\\" + std::wstring(CDataLayer::MaxPath - 9, L'd') + L"\\a.dat";
    ASSERT_EQ(260u, longest.size());
    {
        CAppSettings s;
        wcscpy(s.DBPath, longest.c_str());
        s.SaveDBPath();
    }
    CAppSettings next;
    next.Load();
    EXPECT_EQ(longest, std::wstring(next.DBPath));
}

TEST_F(AppSettingsTest, StoredViewsOutsideTheMenusKeepTheDefaults)
{
    const DWORD entryTypes[] = {5, 9, 0xFFFFFFFF};
    const DWORD dateRanges[] = {5, 7, 0xFFFFFFFF};  // a custom range is never stored either
    for (int i = 0; i < 3; ++i) {
        WriteDword(kKey, L"ViewEntryType", entryTypes[i]);
        WriteDword(kKey, L"ViewDateRangeType", dateRanges[i]);
        CAppSettings s;
        s.Load();
        EXPECT_EQ(CEntry::etNone, s.ViewEntryType) << entryTypes[i];
        EXPECT_EQ(CEntryFilter::drAll, s.ViewDateRangeType) << dateRanges[i];
    }
    WriteDword(kKey, L"ViewEntryType", 4);
    WriteDword(kKey, L"ViewDateRangeType", 4);
    CAppSettings s;
    s.Load();
    EXPECT_EQ(CEntry::etExpense, s.ViewEntryType);
    EXPECT_EQ(CEntryFilter::drYearToDate, s.ViewDateRangeType);
}

}  // namespace
