// The settings store against the real registry of the test prefix: defaults, what a save writes
// and in which form, what a load accepts, and when the end of a run writes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "desktop/AppSettings.h"
#include "tests/desktop/CStringPrinting.h"
#include "tests/desktop/RegistryTestKey.h"

using namespace alk_test;

namespace {

const wchar_t* const kKey = ALK_SETTINGS_KEY;

class AppSettingsTest : public SettingsKeyTest {};

TEST_F(AppSettingsTest, WithoutAKeyLoadKeepsEveryDefault) {
    CAppSettings s;
    EXPECT_NE(ERROR_SUCCESS, s.Load());

    EXPECT_STREQ(L"", s.DBPath);
    EXPECT_EQ(0u, s.LastActiveVehicle);
    EXPECT_EQ(0, s.ActiveOdometer);
    EXPECT_EQ(1, s.SortAscending);
    EXPECT_EQ(0, s.LastColSorted);
    EXPECT_EQ(CEntry::etNone, s.ViewEntryType);
    EXPECT_EQ(CEntryFilter::drAll, s.ViewDateRangeType);
    EXPECT_EQ(0, s.UnitDistance);
    EXPECT_EQ(0, s.UnitVolume);
    EXPECT_EQ(0, s.UnitFuelEconomy);
    EXPECT_EQ(0, s.UnitSetupMsgShown);
    EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
    EXPECT_EQ(1, s.ShowVehiclePicture);
    EXPECT_EQ(1, s.ExcelFormatCells);
    EXPECT_EQ(L"[$-409]d-mmm-yy;@", s.ExcelFmt_Date);
    EXPECT_EQ(L"#,##0", s.ExcelFmt_Integer);
    EXPECT_EQ(L"0.00", s.ExcelFmt_Float);
    EXPECT_EQ(L"$#,##0.00", s.ExcelFmt_Currency);

    EXPECT_EQ(1, s.ShadeRows);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), s.OddRowColor);
    EXPECT_EQ(RGB(206, 239, 165), s.EvenRowColor);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), s.IconSize);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), s.SmallIconSize);

}

TEST_F(AppSettingsTest, FirstSaveWritesEveryStoredValueWithItsType) {
    {
        CAppSettings s;
        s.Load();
    }  // end of a run that loaded: saves

    struct Expected {
        const wchar_t* name;
        DWORD type;
    } values[] = {
        {L"DBPath", REG_SZ},          {L"LastActiveVehicle", REG_DWORD}, {L"SortAscending", REG_DWORD},
        {L"LastColSorted", REG_DWORD}, {L"ViewEntryType", REG_DWORD},     {L"ViewDateRangeType", REG_DWORD},
        {L"UnitDistance", REG_DWORD}, {L"UnitVolume", REG_DWORD},         {L"UnitFuelEconomy", REG_DWORD},
        {L"UnitSetupMsgShown", REG_DWORD}, {L"MileageRate", REG_BINARY},  {L"ShowVehiclePicture", REG_DWORD},
        {L"ExcelFormatCells", REG_DWORD}, {L"ExcelFmt_Date", REG_SZ},     {L"ExcelFmt_Integer", REG_SZ},
        {L"ExcelFmt_Float", REG_SZ},  {L"ExcelFmt_Currency", REG_SZ},
    };
    for (const Expected& e : values) {
        RawValue v = ReadRaw(kKey, e.name);
        EXPECT_TRUE(v.exists) << "missing " << testing::PrintToString(std::wstring(e.name));
        EXPECT_EQ(e.type, v.type) << testing::PrintToString(std::wstring(e.name));
    }

    // The byte forms other programs rely on.
    RawValue path = ReadRaw(kKey, L"DBPath");
    ASSERT_EQ(sizeof(wchar_t), path.bytes.size());  // the empty path: just its terminator
    RawValue rate = ReadRaw(kKey, L"MileageRate");
    ASSERT_EQ(4u, rate.bytes.size());
    const BYTE singleOf036[4] = {0xEC, 0x51, 0xB8, 0x3E};  // IEEE single 0x3EB851EC, little-endian
    EXPECT_EQ(0, memcmp(singleOf036, rate.bytes.data(), 4));
    EXPECT_EQ(0xFFFFFFFFu, ReadRaw(kKey, L"ShowVehiclePicture").Dword());
    EXPECT_EQ(1u, ReadRaw(kKey, L"SortAscending").Dword());
    EXPECT_EQ(L"$#,##0.00", ReadRaw(kKey, L"ExcelFmt_Currency").Text());
    EXPECT_EQ(L"[$-409]d-mmm-yy;@", ReadRaw(kKey, L"ExcelFmt_Date").Text());

    // Never stored.
    EXPECT_FALSE(ReadRaw(kKey, L"ActiveOdometer").exists);
    EXPECT_FALSE(ReadRaw(kKey, L"ShadeRows").exists);
    EXPECT_FALSE(ReadRaw(kKey, L"IconSize").exists);
}

TEST_F(AppSettingsTest, SavedValuesComeBackInTheNextRun) {
    {
        CAppSettings s;
        s.Load();
        wcscpy(s.DBPath, L"C:\\Data\\Fahrzeuge \u00e4\u00f6\u00fc.dat");
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
        s.ExcelFormatCells = 0;
        s.ExcelFmt_Date = L"dd.mm.yyyy";
        s.ExcelFmt_Integer = L"0";
        s.ExcelFmt_Float = L"0.000";
        s.ExcelFmt_Currency = L"#,##0.00 \u20ac";
        s.ActiveOdometer = 12345;
        s.ShadeRows = 0;
    }
    CAppSettings s;
    EXPECT_EQ(ERROR_SUCCESS, s.Load());
    EXPECT_STREQ(L"C:\\Data\\Fahrzeuge \u00e4\u00f6\u00fc.dat", s.DBPath);
    EXPECT_EQ(0xCAFEF00Du, s.LastActiveVehicle);
    EXPECT_EQ(0, s.SortAscending);
    EXPECT_EQ(4, s.LastColSorted);
    EXPECT_EQ(CEntry::etTrip, s.ViewEntryType);
    EXPECT_EQ(CEntryFilter::drYearToDate, s.ViewDateRangeType);
    EXPECT_EQ(1, s.UnitDistance);
    EXPECT_EQ(2, s.UnitVolume);
    EXPECT_EQ(3, s.UnitFuelEconomy);
    EXPECT_EQ(1, s.UnitSetupMsgShown);
    EXPECT_EQ(0.485f, s.MileageRate);  // the exact bits travel
    EXPECT_EQ(0, s.ShowVehiclePicture);
    EXPECT_EQ(0, s.ExcelFormatCells);
    EXPECT_EQ(L"dd.mm.yyyy", s.ExcelFmt_Date);
    EXPECT_EQ(L"0", s.ExcelFmt_Integer);
    EXPECT_EQ(L"0.000", s.ExcelFmt_Float);
    EXPECT_EQ(L"#,##0.00 \u20ac", s.ExcelFmt_Currency);
    // The never-stored fields start over.
    EXPECT_EQ(0, s.ActiveOdometer);
    EXPECT_EQ(1, s.ShadeRows);
    EXPECT_EQ(0u, ReadRaw(kKey, L"ShowVehiclePicture").Dword());
}

// ---- what Load refuses ----------------------------------------------------------------------

TEST_F(AppSettingsTest, MileageRateOfAnotherTypeOrSizeKeepsTheDefault) {
    const DWORD asDword = 0x3F800000;  // the bits of 1.0f, but as a REG_DWORD
    WriteRaw(kKey, L"MileageRate", REG_DWORD, &asDword, sizeof(asDword));
    {
        CAppSettings s;
        s.Load();
        EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
    }

    const BYTE fiveBytes[5] = {0x00, 0x00, 0x80, 0x3F, 0x00};
    WriteRaw(kKey, L"MileageRate", REG_BINARY, fiveBytes, sizeof(fiveBytes));
    {
        CAppSettings s;
        s.Load();
        EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
    }

    const BYTE threeBytes[3] = {0x00, 0x80, 0x3F};
    WriteRaw(kKey, L"MileageRate", REG_BINARY, threeBytes, sizeof(threeBytes));
    {
        CAppSettings s;
        s.Load();
        EXPECT_FLOAT_EQ(0.36f, s.MileageRate);
    }

    const float one = 1.0f;
    WriteRaw(kKey, L"MileageRate", REG_BINARY, &one, sizeof(one));
    CAppSettings s;
    s.Load();
    EXPECT_EQ(1.0f, s.MileageRate);
}

TEST_F(AppSettingsTest, NumbersOfTheWrongTypeOrSizeAreIgnored) {
    WriteText(kKey, L"UnitDistance", L"1");
    const BYTE twoBytes[2] = {1, 0};
    WriteRaw(kKey, L"UnitVolume", REG_DWORD, twoBytes, sizeof(twoBytes));
    const BYTE eightBytes[8] = {5, 0, 0, 0, 0, 0, 0, 0};
    WriteRaw(kKey, L"LastActiveVehicle", REG_BINARY, eightBytes, sizeof(eightBytes));
    WriteDword(kKey, L"UnitFuelEconomy", 2);  // the one good value among them

    CAppSettings s;
    s.Load();
    EXPECT_EQ(0, s.UnitDistance);
    EXPECT_EQ(0, s.UnitVolume);
    EXPECT_EQ(0u, s.LastActiveVehicle);
    EXPECT_EQ(2, s.UnitFuelEconomy);
}

TEST_F(AppSettingsTest, ValuesAreNotRangeCheckedOnLoad) {
    WriteDword(kKey, L"UnitVolume", 9);
    WriteDword(kKey, L"ViewDateRangeType", 5);
    WriteDword(kKey, L"LastColSorted", 0xFFFFFFFF);
    CAppSettings s;
    s.Load();
    EXPECT_EQ(9, s.UnitVolume);
    EXPECT_EQ(CEntryFilter::drCustom, s.ViewDateRangeType);
    EXPECT_EQ(-1, s.LastColSorted);
}

TEST_F(AppSettingsTest, StringsMustBeTerminatedTextsThatFit) {
    // Too long for 260 characters with the terminator: the previous content stays.
    WriteText(kKey, L"DBPath", std::wstring(260, L'x'));
    // A REG_EXPAND_SZ is as good as a REG_SZ.
    const std::wstring expand = L"%USERPROFILE%\\d-mmm";
    WriteRaw(kKey, L"ExcelFmt_Date", REG_EXPAND_SZ, expand.c_str(), DWORD((expand.size() + 1) * sizeof(wchar_t)));
    // No terminator.
    const wchar_t bare[3] = {L'0', L'.', L'0'};
    WriteRaw(kKey, L"ExcelFmt_Float", REG_SZ, bare, sizeof(bare));
    // Not a string at all.
    WriteDword(kKey, L"ExcelFmt_Integer", 7);
    // The longest accepted: 259 characters and the terminator.
    WriteText(kKey, L"ExcelFmt_Currency", std::wstring(259, L'c'));

    CAppSettings s;
    wcscpy(s.DBPath, L"C:\\kept.dat");
    s.Load();
    EXPECT_STREQ(L"C:\\kept.dat", s.DBPath);
    EXPECT_EQ(expand, W(s.ExcelFmt_Date));
    EXPECT_EQ(L"0.00", s.ExcelFmt_Float);
    EXPECT_EQ(L"#,##0", s.ExcelFmt_Integer);
    EXPECT_EQ(std::wstring(259, L'c'), W(s.ExcelFmt_Currency));
}

TEST_F(AppSettingsTest, AnyNonZeroPictureFlagMeansShownAndIsWrittenAsMinusOne) {
    WriteDword(kKey, L"ShowVehiclePicture", 7);
    {
        CAppSettings s;
        s.Load();
        EXPECT_NE(0, s.ShowVehiclePicture);
    }
    EXPECT_EQ(0xFFFFFFFFu, ReadRaw(kKey, L"ShowVehiclePicture").Dword());
}

// ---- the custom date range -------------------------------------------------------------------

TEST_F(AppSettingsTest, CustomDateRangeLeavesTheStoredPreset) {
    WriteDword(kKey, L"ViewDateRangeType", 3);
    {
        CAppSettings s;
        s.Load();
        EXPECT_EQ(CEntryFilter::drMonthToDate, s.ViewDateRangeType);
        s.ViewDateRangeType = CEntryFilter::drCustom;
        s.Save();
        EXPECT_EQ(3u, ReadRaw(kKey, L"ViewDateRangeType").Dword());
        s.ViewDateRangeType = CEntryFilter::drLastTwoWeeks;
        s.Save();
        EXPECT_EQ(2u, ReadRaw(kKey, L"ViewDateRangeType").Dword());
        s.ViewDateRangeType = CEntryFilter::drCustom;
    }  // the end of the run saves with the custom range chosen
    EXPECT_EQ(2u, ReadRaw(kKey, L"ViewDateRangeType").Dword());

    CAppSettings next;
    next.Load();
    EXPECT_EQ(CEntryFilter::drLastTwoWeeks, next.ViewDateRangeType);
}

TEST_F(AppSettingsTest, CustomDateRangeWithNothingStoredWritesNoPreset) {
    {
        CAppSettings s;
        s.Load();
        s.ViewDateRangeType = CEntryFilter::drCustom;
    }
    EXPECT_TRUE(ReadRaw(kKey, L"UnitVolume").exists);
    EXPECT_FALSE(ReadRaw(kKey, L"ViewDateRangeType").exists);
}

// ---- when a run writes ---------------------------------------------------------------------

TEST_F(AppSettingsTest, ARunThatNeverLoadedWritesNothing) {
    {
        CAppSettings s;
        s.UnitDistance = 1;
        wcscpy(s.DBPath, L"C:\\second.dat");
    }
    EXPECT_FALSE(KeyExists(kKey));

    WriteDword(kKey, L"UnitDistance", 0);
    WriteText(kKey, L"DBPath", L"C:\\first.dat");
    {
        CAppSettings s;
        s.UnitDistance = 1;
    }
    EXPECT_EQ(0u, ReadRaw(kKey, L"UnitDistance").Dword());
    EXPECT_EQ(L"C:\\first.dat", ReadRaw(kKey, L"DBPath").Text());
    EXPECT_FALSE(ReadRaw(kKey, L"UnitVolume").exists);
}

TEST_F(AppSettingsTest, SaveDBPathWritesThePathAlone) {
    CAppSettings s;
    wcscpy(s.DBPath, L"C:\\Users\\me\\Documents\\My Vehicles.dat");
    s.UnitVolume = 2;
    s.SaveDBPath();
    EXPECT_EQ(L"C:\\Users\\me\\Documents\\My Vehicles.dat", ReadRaw(kKey, L"DBPath").Text());
    EXPECT_EQ(DWORD(REG_SZ), ReadRaw(kKey, L"DBPath").type);
    EXPECT_FALSE(ReadRaw(kKey, L"UnitVolume").exists);
    EXPECT_FALSE(ReadRaw(kKey, L"MileageRate").exists);
}

TEST_F(AppSettingsTest, AFullPathBufferIsWrittenWithItsTerminator) {
    CAppSettings s;
    for (int i = 0; i < CAppSettings::MaxPath + 1; ++i)
        s.DBPath[i] = L'p';  // a caller that filled every character
    s.SaveDBPath();
    RawValue v = ReadRaw(kKey, L"DBPath");
    ASSERT_TRUE(v.exists);
    EXPECT_EQ(std::wstring(CAppSettings::MaxPath, L'p'), v.Text());
    EXPECT_EQ(0, v.bytes[v.bytes.size() - 1]);
}

}  // namespace
