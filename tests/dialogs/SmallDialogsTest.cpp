// The small dialogs driven as a user drives them: the keyword manager, the date range with its
// presets, Options with the Excel export settings, and the database information.
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/DlgDatabaseInfo.h"
#include "desktop/DlgDateRange.h"
#include "desktop/DlgKeywords.h"
#include "desktop/DlgOptions.h"
#include "desktop/Utility.h"
#include "tests/editors/EditorTestSupport.h"

using namespace alk_editor_test;

namespace {

using SmallDialogsTest = EditorTest;

// The items of a list box or combo box ("*" after the selected one).
std::wstring Items(HWND box, bool combo = false)
{
    std::wstring items;
    const int count = static_cast<int>(SendMessageW(box, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(box, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        SendMessageW(box, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items += text + std::wstring(i == selected ? L"*|" : L"|");
    }
    return items;
}

// Which of the controls are enabled, as digits.
std::wstring Enabled(HWND dialog, std::initializer_list<int> ids)
{
    std::wstring state;
    for (int id : ids) state += IsWindowEnabled(GetDlgItem(dialog, id)) ? L"1" : L"0";
    return state;
}

std::wstring Day(const SYSTEMTIME& t, bool time = false)
{
    wchar_t text[32];
    swprintf(text, 32, time ? L"%04d-%02d-%02d %02d:%02d:%02d" : L"%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    return text;
}

TEST_F(SmallDialogsTest, KeywordsAreAddedRenamedAndDeletedAsTheyAreMadeWhateverTheOutcome)
{
    const struct {
        CKeyword::Type type;
        const wchar_t* caption;
    } kinds[] = {{CKeyword::ktCategory, L"Categories"},
                 {CKeyword::ktRepair, L"Repairs and Maintenance"},
                 {CKeyword::ktExpense, L"Expenses"},
                 {CKeyword::ktFuelVendor, L"Fuel Vendors"},
                 {static_cast<CKeyword::Type>(9), L"Manage Keywords"}};
    for (const auto& kind : kinds) {
        UI ui;
        ui.Window(nullptr).Escape();
        CString chosen = L"kept";
        EXPECT_EQ(0, ManageKeywords(kind.type, chosen));
        EXPECT_EQ(kind.caption, ui.Met().at(0).caption);
        EXPECT_STREQ(L"kept", chosen);
    }

    CKeywordRecord(CKeyword::ktFuelVendor, L"Mobil").Save(db.Db());
    std::vector<std::wstring> seen;
    const auto look = [&](HWND dialog) {
        seen.push_back(Items(GetDlgItem(dialog, IDC_KEYWORD_LIST)) + L" " +
                       Enabled(dialog, {IDC_KEYWORD_ADD, IDC_KEYWORD_EDIT, IDC_KEYWORD_DELETE, IDOK}));
    };
    UI ui;
    ui.WaitFor(L"Fuel Vendors").Do(look).Type(L"Shell").Do(look).Click(IDC_KEYWORD_ADD).Do(look);
    ui.Focus(IDC_KEYWORD_TEXT).Type(L"Shell").Click(IDC_KEYWORD_ADD);                            // taken: nothing
    ui.Focus(IDC_KEYWORD_TEXT).Type(L"shell").Click(IDC_KEYWORD_ADD).Do(look);                   // case counts
    ui.Focus(IDC_KEYWORD_TEXT).Type(L"Aral Tankstelle am Nordring 12X").Click(IDC_KEYWORD_ADD);  // 31 typed
    ui.ClickItem(IDC_KEYWORD_LIST, 1).Do(look).Click(IDC_KEYWORD_EDIT).Do(look);                 // own name: nothing
    ui.Focus(IDC_KEYWORD_TEXT).Type(L"Zeta").Click(IDC_KEYWORD_EDIT).Do(look);                   // stays in place
    ui.ClickItem(IDC_KEYWORD_LIST, 0).Click(IDC_KEYWORD_DELETE).Do(look).Escape();
    CString chosen;
    EXPECT_EQ(0, ManageKeywords(CKeyword::ktFuelVendor, chosen));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ((std::vector<std::wstring>{
                  L"Mobil| 0000", L"Mobil| 1000", L"Mobil|Shell*| 1000", L"Mobil|shell*|Shell| 1000",
                  L"Aral Tankstelle am Nordring 12|Mobil*|shell|Shell| 1111",
                  L"Aral Tankstelle am Nordring 12|Mobil*|shell|Shell| 1111",
                  L"Aral Tankstelle am Nordring 12|Zeta*|shell|Shell| 1111", L"Zeta*|shell|Shell| 1111"}),
              seen);
    CObjectListT<CKeyword> stored;
    ASSERT_TRUE(db.Db().Load(&stored, CKeyword::ktFuelVendor));
    ASSERT_EQ(3, stored.GetCount()) << "the changes stay after Cancel";
    EXPECT_STREQ(L"Zeta", stored.Get(0)->GetName());
}

TEST_F(SmallDialogsTest, AKeywordTheBusyFileRefusedIsToldAndAddedOnRetry)
{
    // A synchronisation holds the file: Cancel on the box leaves the list as the file is, the
    // typed name still in its field; Retry once the file is free adds it.
    ASSERT_TRUE(db.Db().BeginTransaction());
    std::vector<std::wstring> seen;
    const auto look = [&](HWND dialog) {
        seen.push_back(Items(GetDlgItem(dialog, IDC_KEYWORD_LIST)) + L" " + UI::Text(dialog, IDC_KEYWORD_TEXT));
    };
    UI ui;
    ui.WaitFor(L"Expenses").Type(L"Toll").Click(IDC_KEYWORD_ADD).Answer(IDCANCEL).Do(look);
    ui.Click(IDC_KEYWORD_ADD).Answer(IDRETRY, [&](HWND) { db.Db().RollBack(); }).Do(look).Escape();
    CString chosen;
    EXPECT_EQ(0, ManageKeywords(CKeyword::ktExpense, chosen));
    EXPECT_SCRIPT(ui);
    ASSERT_EQ(3u, ui.Met().size());
    EXPECT_EQ(0u, ui.Met()[1].text.find(L"Your changes could not be saved: the data file is in use"));
    EXPECT_EQ((std::vector<std::wstring>{L" Toll", L"Toll*| Toll"}), seen);
    CObjectListT<CKeyword> stored;
    ASSERT_TRUE(db.Db().Load(&stored, CKeyword::ktExpense));
    ASSERT_EQ(1, stored.GetCount());
    EXPECT_STREQ(L"Toll", stored.Get(0)->GetName());
}

TEST_F(SmallDialogsTest, DeletingTheOnlyKeywordLeavesNothingToChooseAndAChoiceIsReturned)
{
    CKeywordRecord(CKeyword::ktExpense, L"Parking").Save(db.Db());
    std::vector<std::wstring> seen;
    UI ui;
    ui.WaitFor(L"Expenses").ClickItem(IDC_KEYWORD_LIST, 0).Click(IDC_KEYWORD_DELETE).Do([&](HWND dialog) {
        seen.push_back(Items(GetDlgItem(dialog, IDC_KEYWORD_LIST)) + L"|" +
                       Enabled(dialog, {IDC_KEYWORD_EDIT, IDC_KEYWORD_DELETE, IDOK}));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);  // OK without a selection
    });
    ui.Do([&](HWND dialog) { seen.push_back(UI::Text(dialog)); });
    ui.Focus(IDC_KEYWORD_TEXT).Type(L"Toll").Click(IDC_KEYWORD_ADD).ClickItem(IDC_KEYWORD_LIST, 0, true);
    CString chosen;
    EXPECT_EQ(1, ManageKeywords(CKeyword::ktExpense, chosen));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ((std::vector<std::wstring>{L"|000", L"Expenses"}), seen) << "OK without a selection stays";
    EXPECT_STREQ(L"Toll", chosen);

    // An editor's box gets the kind's keywords, sorted, in place of what it held.
    CKeywordRecord(CKeyword::ktExpense, L"Car wash").Save(db.Db());
    CKeywordRecord(CKeyword::ktFuelVendor, L"Shell").Save(db.Db());
    HWND box = CreateWindowW(L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | CBS_SORT, 0, 0, 99, 99, 0, 0, 0, 0);
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"left over"));
    FillKeywordCombo(CKeyword::ktExpense, box);
    EXPECT_EQ(L"Car wash|Toll|", Items(box, true));
    DestroyWindow(box);
}

TEST_F(SmallDialogsTest, DateRangesComeFromPresetsCountedFromTheLocalDateAndNeverRunBackwards)
{
    const SYSTEMTIME leap = Utc(2024, 3, 15, 18), january = Utc(2025, 1, 10);
    const struct {
        const SYSTEMTIME& today;
        int preset;
        const wchar_t* range;
    } cases[] = {
        {leap, IDC_RANGE_3_MONTHS, L"2023-12-16 2024-03-15"},
        {leap, IDC_RANGE_6_MONTHS, L"2023-09-17 2024-03-15"},
        {leap, IDC_RANGE_12_MONTHS, L"2023-03-16 2024-03-15"},
        {leap, IDC_RANGE_30_DAYS, L"2024-02-14 2024-03-15"},
        {leap, IDC_RANGE_PREVIOUS_MONTH, L"2024-02-01 2024-02-29"},
        {leap, IDC_RANGE_PREVIOUS_YEAR, L"2023-01-01 2023-12-31"},
        {january, IDC_RANGE_PREVIOUS_MONTH, L"2024-12-01 2024-12-31"},
        {january, IDC_RANGE_PREVIOUS_YEAR, L"2024-01-01 2024-12-31"},
    };
    for (const auto& c : cases) {
        SetFixedLocalTime(&c.today);
        SYSTEMTIME start = Utc(2020, 5, 5), end = Utc(2020, 6, 6);
        UI ui;
        ui.Click(c.preset).Click(IDOK);
        EXPECT_TRUE(SelectDateRange(&start, &end)) << testing::PrintToString(ui.Failure());
        EXPECT_EQ(c.range, Day(start) + L" " + Day(end));
    }
    SetFixedLocalTime(nullptr);

    // One day: from its first second to its last; then an end before the start is refused.
    SYSTEMTIME start = Utc(2026, 5, 5, 13, 14, 15), end = Utc(2026, 5, 5, 1, 2, 3);
    UI ui;
    ui.Click(IDOK).SetDate(IDC_RANGE_END, Utc(2026, 5, 4)).Click(IDOK).Answer(IDOK).Escape();
    EXPECT_TRUE(SelectDateRange(&start, &end));
    EXPECT_EQ(L"2026-05-05 00:00:00 2026-05-05 23:59:59", Day(start, true) + L" " + Day(end, true));
    EXPECT_FALSE(SelectDateRange(&start, &end));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(L"End date must be greater than start date.", ui.Met().at(0).text);
    EXPECT_NE(L"Autolark", ui.Met()[0].caption) << "the system's caption";
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[0].icon);
    EXPECT_EQ(L"2026-05-05 00:00:00 2026-05-05 23:59:59", Day(start, true) + L" " + Day(end, true)) << "kept";
}

TEST_F(SmallDialogsTest, OptionsTakeARateWithAPointKeepAnUntouchedOneAndStoreTheUnits)
{
    const struct {
        const wchar_t* typed;
        float rate;  // -1: refused
    } cases[] = {{L" .5 ", 0.5f}, {L"0", 0},   {L"  7 ", 7}, {L"abc", -1},  {L"5x", -1},
                 {L"1e39", -1},   {L"\b", -1}, {L"3,5", -1}, {L"0x10", -1}, {L"nan", -1}};
    for (const auto& c : cases) {
        g_AppSettings.MileageRate = 0.36f;
        int focus = 0;
        UI ui;
        ui.WaitFor(L"Options").Focus(IDC_OPTIONS_RATE).Type(c.typed).Click(IDOK);
        if (c.rate < 0) ui.Do([&](HWND) { focus = FocusedId(); }).Escape();
        CDlgOptions options;
        EXPECT_EQ(c.rate < 0 ? IDCANCEL : IDOK, options.DoModal(nullptr))
            << testing::PrintToString(std::wstring(c.typed));
        EXPECT_EQ(c.rate < 0 ? 0.36f : c.rate, g_AppSettings.MileageRate);
        EXPECT_EQ(c.rate < 0 ? IDC_OPTIONS_RATE : 0, focus);
    }
    g_AppSettings.MileageRate = 0.345678901f;  // shown as 0.345679
    UI ui;
    ui.WaitFor(L"Options").Focus(IDC_OPTIONS_DISTANCE).Key(VK_DOWN).Focus(IDC_OPTIONS_ECONOMY).Key(VK_DOWN).Click(IDOK);
    CDlgOptions options;
    EXPECT_EQ(IDOK, options.DoModal(nullptr));
    EXPECT_EQ(0.345678901f, g_AppSettings.MileageRate);
    EXPECT_EQ(1, g_AppSettings.UnitDistance);
    EXPECT_EQ(0, g_AppSettings.UnitVolume);
    EXPECT_EQ(1, g_AppSettings.UnitFuelEconomy);
}

TEST_F(SmallDialogsTest, OptionsShowUnitsCurrencyAndHelpAndCancelKeepsOnlyTheConfirmedExcelSettings)
{
    g_AppSettings.ExcelFormatCells = 7;
    g_AppSettings.UnitVolume = 2;
    std::wstring shown, excel;
    UI ui;
    ui.WaitFor(L"Options").Do([&](HWND dialog) {
        for (int id : {IDC_OPTIONS_DISTANCE, IDC_OPTIONS_VOLUME, IDC_OPTIONS_ECONOMY})
            shown += Items(GetDlgItem(dialog, id), true);
        shown += UI::Text(dialog, IDC_OPTIONS_CURRENCY);
    });
    ui.ClickAt(IDC_OPTIONS_RATE_HELP).Answer(IDOK);
    ui.Focus(IDC_OPTIONS_RATE).Type(L"9").Focus(IDC_OPTIONS_VOLUME).Key(VK_UP).Click(IDC_OPTIONS_EXCEL);
    ui.WaitFor(L"Excel Export Settings").Do([&](HWND dialog) {
        excel = std::to_wstring(g_AppSettings.ExcelFormatCells) +
                std::to_wstring(IsDlgButtonChecked(dialog, IDC_EXCEL_FORMAT_CELLS)) +
                Enabled(dialog, {IDC_EXCEL_DATE, IDC_EXCEL_CURRENCY_LABEL, IDC_EXCEL_FLOAT_NOTE}) + L" " +
                UI::Text(dialog, IDC_EXCEL_DATE) + L" " +
                std::to_wstring(SendDlgItemMessageW(dialog, IDC_EXCEL_CURRENCY, EM_GETLIMITTEXT, 0, 0));
    });
    ui.Click(IDC_EXCEL_FORMAT_CELLS).Focus(IDC_EXCEL_DATE).Type(L"yyyy-mm-dd").Click(IDOK).WaitFor(L"Options").Escape();
    CDlgOptions options;
    EXPECT_EQ(IDCANCEL, options.DoModal(nullptr));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(
        L"Miles*|Kilometres|Gallons (US)|Gallons (UK)|Litres*|Miles per gallon (US)*|Miles per gallon (UK)|"
        L"Kilometres per litre|Miles per litre|$",
        shown);
    EXPECT_EQ(L"Autolark", ui.Met()[1].caption);
    EXPECT_EQ(0u, ui.Met()[1].text.find(L"This is the per-mile (or per-kilometer) monetary amount you use"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[1].icon);
    EXPECT_EQ(L"00000 [$-409]d-mmm-yy;@ 259", excel) << "a stored 7 is unticked at once";
    EXPECT_EQ(0.36f, g_AppSettings.MileageRate);
    EXPECT_EQ(2, g_AppSettings.UnitVolume);
    EXPECT_EQ(1, g_AppSettings.ExcelFormatCells) << "confirmed in the Excel settings";
    EXPECT_STREQ(L"yyyy-mm-dd", g_AppSettings.ExcelFmt_Date);

    CThreadLocale german(kGermany);
    UI again;
    again.WaitFor(L"Options").Do([&](HWND dialog) { shown = UI::Text(dialog, IDC_OPTIONS_CURRENCY); }).Escape();
    CDlgOptions().DoModal(nullptr);
    EXPECT_EQ(L" \u20ac", shown) << "the symbol after the number, with its space";
}

TEST_F(SmallDialogsTest, TheCurrencyNotationNeverRunsPastTheFormatsEndAndKeepsAFormatWithoutAZero)
{
    // clang-format off
    const struct { const wchar_t* formatted; const wchar_t* notation; } cases[] = {
        {L"$0.00",          L"$"},
        {L"0,00 \u20ac",    L" \u20ac"},
        {L"\u00a50",        L"\u00a5"},        // no decimals: the zero ends the text
        {L"R 0.00",         L"R "},
        {L"Fr. -.--",       L"Fr. -.--"},      // no "0": the text whole
        {L"",               L""},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_STREQ(c.notation, CDlgOptions::CurrencyNotationOf(c.formatted)) << c.formatted;

    // Japan's currency has no decimals: the locale's symbol alone.
    CThreadLocale japanese(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT));
    wchar_t format[16] = {}, symbol[8] = {};
    ASSERT_NE(0, GetCurrencyFormatW(GetThreadLocale(), 0, L"0", nullptr, format, 16));
    ASSERT_NE(0, GetLocaleInfoW(GetThreadLocale(), LOCALE_SCURRENCY, symbol, 8));
    EXPECT_STREQ(symbol, CDlgOptions::CurrencyNotation()) << format;
}

TEST_F(SmallDialogsTest, DatabaseInformationCountsAndSizesTheOpenFileAndCompressesIt)
{
    CVehicleRecord(L"Van").Save(db.Db());
    CEntryRecord(car, CEntry::etFuel).Save(db.Db());
    CReminderRecord(car, L"Service").Save(db.Db());
    ASSERT_TRUE(db.Db().BeginTransaction());
    for (int i = 0; i < 1234; ++i) {
        CKeywordRecord keyword(CKeyword::ktCategory, (L"Category number " + std::to_wstring(i)).c_str());
        keyword.Get().SetRefID(1000 + i);  // a reference id of its own takes no time to make
        keyword.Save(db.Db());
    }
    ASSERT_EQ(CDataLayer::crCommitted, db.Db().Commit());
    const auto size = [&](std::wstring* kilobytes) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(db.Path().c_str(), GetFileExInfoStandard, &data);
        wchar_t text[32] = {};
        StrFormatKBSizeW(data.nFileSizeLow, text, 32);
        *kilobytes = text;
        return data.nFileSizeLow;
    };
    std::wstring shown, before, after, fileBefore, fileAfter;
    DWORD bytesBefore = 0, bytesAfter = 0;
    UI ui;
    ui.WaitFor(L"Database Information").Do([&](HWND dialog) {
        for (int id : {IDC_DBINFO_PATH, IDC_DBINFO_VEHICLES, IDC_DBINFO_ENTRIES, IDC_DBINFO_REMINDERS,
                       IDC_DBINFO_KEYWORDS, IDC_DBINFO_VERSION})
            shown += UI::Text(dialog, id) + L"|";
        before = UI::Text(dialog, IDC_DBINFO_SIZE);
        bytesBefore = size(&fileBefore);
        db.Db().DeleteAllData();
    });
    ui.Click(IDOK).Do([&](HWND dialog) { after = UI::Text(dialog, IDC_DBINFO_SIZE); }).Click(IDCANCEL);
    CDlgDatabaseInfo().DoModal(nullptr);
    EXPECT_SCRIPT(ui);
    bytesAfter = size(&fileAfter);
    EXPECT_EQ(db.Path() + L"|2|1|1|1,234|3.53.2|", shown);
    EXPECT_EQ(fileBefore, before);
    EXPECT_EQ(fileAfter, after) << "Compress shows the new size and the dialog stays";
    EXPECT_LT(bytesAfter, bytesBefore);
}

}  // namespace
