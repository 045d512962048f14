// The entry sheet on its own: EditEntry on fuel and expense entries typed into as a user types,
// checked by what the pages show and by what the file holds afterwards.
#include <windows.h>

#include <commctrl.h>

#include <iterator>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/DataFileMessages.h"
#include "desktop/EntryEditor.h"
#include "EditorTestSupport.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/ImportPatch.h"

using namespace alk_editor_test;

namespace {

const wchar_t kSheet[] = L"Entry Properties";
const wchar_t kFortyDigits[] = L"1234567890123456789012345678901234567890";
const LCID kUS = CThreadLocale::UnitedStates();

using EntrySheetTest = EditorTest;

std::wstring Fields(HWND sheet, std::initializer_list<int> ids)
{
    std::wstring shown;
    for (int id : ids) shown += UI::Text(sheet, id) + L"|";
    return shown;
}

TEST_F(EntrySheetTest, AFuelEntryIsTypedCalculatedAndStoredWithItsVendorNotesAndPrice)
{
    // Calc computes the number that is 0, the total when none is, and selects it.
    const struct {
        const wchar_t *quantity, *price, *total, *shown;
        int focus;
    } calc[] = {{L"40", L"1.25", L"0", L"40|1.25|50|", IDC_ENTRY_AMOUNT},
                {L"40", L"0", L"50", L"40|1.25|50|", IDC_FUEL_PRICE},
                {L"0", L"1.25", L"50", L"40|1.25|50|", IDC_FUEL_QUANTITY},
                {L"40", L"1.25", L"7", L"40|1.25|50|", IDC_ENTRY_AMOUNT},
                {L"0", L"0", L"50", L"0|0|50|", IDC_FUEL_PRICE}};
    std::vector<std::wstring> shown;
    UI ui;
    ui.WaitFor(kSheet).Do([&](HWND sheet) {
        shown.push_back(
            Fields(sheet, {IDC_ENTRY_ODOMETER, IDC_FUEL_PRICE, IDC_FUEL_QUANTITY_LABEL, IDC_FUEL_PRICE_LABEL}));
    });
    for (const auto& c : calc) {
        ui.Focus(IDC_FUEL_QUANTITY).Type(c.quantity).Tab().Type(c.price).Tab().Type(c.total).Click(IDC_FUEL_CALC);
        ui.Do([&](HWND sheet) {
            DWORD start = 1, end = 0;
            SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            shown.push_back(
                Fields(sheet, {IDC_FUEL_QUANTITY, IDC_FUEL_PRICE, IDC_ENTRY_AMOUNT}) + std::to_wstring(FocusedId()) +
                (start == 0 && static_cast<int>(end) == GetWindowTextLengthW(GetFocus()) ? L" selected" : L""));
        });
    }
    // Letters do not go into the digits-only odometer; the vendor comes from its keyword list.
    ui.Focus(IDC_ENTRY_ODOMETER).Type(L"12a345").Tab().Type(L"40.5").Tab().Type(L"1.259").Click(IDC_FUEL_CALC);
    ui.SetDate(IDC_ENTRY_DATE, Utc(2026, 3, 4, 10, 20, 30)).Click(IDC_ENTRY_KEYWORDS).WaitFor(L"Fuel Vendors");
    ui.Type(L"Shell").Click(IDC_KEYWORD_ADD).ClickItem(IDC_KEYWORD_LIST, 0, true).WaitFor(kSheet);
    ui.CtrlTab().Tab().Type(L"Full tank\rreceipt kept").Click(IDOK);
    std::unique_ptr<CEntry> entry = New();
    ASSERT_NE(0, EditEntry(entry.get())) << testing::PrintToString(ui.Failure());

    ASSERT_EQ(std::size(calc) + 1, shown.size());
    EXPECT_EQ(L"12000|0|&Num gallons:|&Cost per gallon:|", shown[0]);
    for (size_t i = 0; i < std::size(calc); ++i)
        EXPECT_EQ(calc[i].shown + std::to_wstring(calc[i].focus) + L" selected", shown[i + 1]) << "case " << i;
    std::unique_ptr<CEntry> stored = Stored(entry->GetID());
    EXPECT_EQ(12345, stored->GetOdometer());
    EXPECT_EQ(40.5f, stored->GetCustom1());
    EXPECT_EQ(1.259f, stored->GetCustom2());
    EXPECT_EQ(1.259f * 40.5f, stored->GetAmount());
    EXPECT_EQ(46085.430903, stored->GetDate()) << "4 March 2026 10:20:30, to six decimals of a day";
    EXPECT_STREQ(L"Shell", stored->GetVendor());
    EXPECT_STREQ(L"Full tank\r\nreceipt kept", stored->GetNotes());
    DWORD type = 0;
    EXPECT_EQ(BytesOf(1.259f), SettingBytes(L"LastPrice", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
}

TEST_F(EntrySheetTest, ANewEntryIsOfferedAWellStoredLastPriceAndTheLabelsNameTheVolumeUnit)
{
    const float last = 2.5f, nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        DWORD type;
        const void* data;
        DWORD size;
        float price;  // the entry's own
        int unit;
        const wchar_t* shown;
    } cases[] = {
        {REG_BINARY, &last, 4, 0, 0, L"2.5|&Num gallons:|&Cost per gallon:|"},
        {REG_BINARY, &last, 4, 1.75f, 1, L"1.75|&Num gallons:|&Cost per gallon:|"},
        {REG_BINARY, &last, 2, 0, 2, L"0|&Num litres:|&Cost per litre:|"},
        {REG_DWORD, &last, 4, 0, 7, L"0|#|#|"},
        {REG_BINARY, &nan, 4, 0, 0, L"0|&Num gallons:|&Cost per gallon:|"},
    };
    for (const auto& c : cases) {
        SetSettingBytes(L"LastPrice", c.type, c.data, c.size);
        g_AppSettings.UnitVolume = c.unit;
        std::wstring shown;
        UI ui;
        ui.WaitFor(kSheet).Do([&](HWND sheet) {
            shown = Fields(sheet, {IDC_FUEL_PRICE, IDC_FUEL_QUANTITY_LABEL, IDC_FUEL_PRICE_LABEL});
        });
        ui.Escape();
        std::unique_ptr<CEntry> entry = New();
        entry->SetCustom2(c.price);
        EXPECT_EQ(0, EditEntry(entry.get()));
        EXPECT_EQ(c.shown, shown) << "type " << c.type << ", " << c.size << " bytes";
        EXPECT_EQ(c.price, entry->GetCustom2());
        EXPECT_EQ(c.size, SettingBytes(L"LastPrice").size()) << "Cancel writes no price";
    }
}

TEST_F(EntrySheetTest, BadInputKeepsTheSheetOnTheFieldAndNumbersSpeakTheThreadsLocale)
{
    // Typed into a field, then checked by Calc: the number shown again, or refused with the focus.
    const struct {
        LCID locale;
        int field;
        const wchar_t *typed, *accepted;
    } cases[] = {
        {kGermany, IDC_FUEL_QUANTITY, L"3,5", L"3,5"},      {kGermany, IDC_FUEL_QUANTITY, L"3.5", L"3,5"},
        {kGermany, IDC_FUEL_QUANTITY, L"1.234,5", nullptr}, {kGermany, IDC_FUEL_PRICE, kFortyDigits, nullptr},
        {kGermany, IDC_ENTRY_AMOUNT, L"1e39", nullptr},     {kUS, IDC_FUEL_QUANTITY, L"3,5", nullptr},
        {kUS, IDC_FUEL_QUANTITY, L"1,234.5", nullptr},      {kUS, IDC_FUEL_PRICE, kFortyDigits, nullptr},
        {kUS, IDC_ENTRY_AMOUNT, L"1e39", nullptr},          {kUS, IDC_ENTRY_ODOMETER, L"2147483648", nullptr},
        {kUS, IDC_ENTRY_ODOMETER, L"\b", nullptr},          {kUS, IDC_FUEL_QUANTITY, L"3.5", L"3.5"},
    };
    for (LCID lcid : {kGermany, kUS}) {
        CThreadLocale in(lcid);
        std::vector<std::wstring> seen;
        UI ui;
        ui.WaitFor(kSheet).Do([&](HWND sheet) { seen.push_back(UI::Text(sheet, IDC_FUEL_QUANTITY)); });
        for (const auto& c : cases) {
            if (c.locale != lcid) continue;
            ui.Focus(c.field).Type(c.typed).Click(IDC_FUEL_CALC).Do([&](HWND sheet) {
                seen.push_back(UI::Text(sheet, c.field) + L" " + std::to_wstring(FocusedId()));
            });
            ui.Focus(c.field).Type(L"2");
        }
        // Refused on OK from the other page: the sheet stays, back on the field's page.
        ui.Focus(IDC_ENTRY_ODOMETER).Type(L"\b").ClickTab(1).Click(IDOK).Do([&](HWND sheet) {
            seen.push_back(std::to_wstring(TabCtrl_GetCurSel(PropSheet_GetTabControl(sheet))) + L" " +
                           std::to_wstring(FocusedId()));
        });
        ui.Focus(IDC_ENTRY_ODOMETER).Type(L"5").Click(IDOK);
        std::unique_ptr<CEntry> entry = New();
        entry->SetCustom1(1.25f);
        entry->SetCustom2(2);
        entry->SetAmount(2.5f);
        ASSERT_NE(0, EditEntry(entry.get())) << testing::PrintToString(ui.Failure());
        std::vector<std::wstring> expected{lcid == kGermany ? L"1,25" : L"1.25"};
        for (const auto& c : cases)
            if (c.locale == lcid)
                expected.push_back(c.accepted
                                       ? c.accepted + std::wstring(L" 1002")
                                       : (c.typed[0] == L'\b' ? L"" : c.typed) + (L" " + std::to_wstring(c.field)));
        expected.push_back(L"0 1028");
        EXPECT_EQ(expected, seen);
        EXPECT_EQ(2.0f, Stored(entry->GetID())->GetCustom2());
        EXPECT_EQ(5, Stored(entry->GetID())->GetOdometer());
    }
}

// The page's refusals beep: counted through the program's import of MessageBeep.
int g_beeps = 0;
BOOL WINAPI CountBeep(UINT)
{
    ++g_beeps;
    return TRUE;
}

TEST_F(EntrySheetTest, AQuantityOrPriceBelowZeroIsRefusedOnOkAndOnCalcWhileZeroIsTaken)
{
    CImportPatch beep(nullptr, "user32.dll", "MessageBeep", reinterpret_cast<void*>(&CountBeep));
    ASSERT_TRUE(beep.Patched());
    g_beeps = 0;
    const struct {
        int field;
        const wchar_t* typed;
        int button;
    } cases[] = {{IDC_FUEL_QUANTITY, L"-5", IDOK},
                 {IDC_FUEL_PRICE, L"-3", IDOK},
                 {IDC_FUEL_QUANTITY, L"-0.001", IDC_FUEL_CALC},
                 {IDC_FUEL_PRICE, L"-1e-6", IDC_FUEL_CALC}};
    std::vector<std::wstring> seen;
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_FUEL_QUANTITY).Type(L"5").Tab().Type(L"3").Tab().Type(L"15");
    for (const auto& c : cases) {
        // Typed, then the focus elsewhere: the refusal must bring it back.
        ui.Focus(c.field).Type(c.typed).Focus(IDC_ENTRY_ODOMETER).Click(c.button).Do([&](HWND sheet) {
            seen.push_back(UI::Text(sheet, c.field) + L" " + std::to_wstring(FocusedId()) + L" " +
                           std::to_wstring(g_beeps) + (SettingBytes(L"LastPrice").empty() ? L"" : L" price written"));
        });
        ui.Focus(c.field).Type(L"2");
    }
    // Zero is no refusal: a fill-up still to be priced.
    ui.Focus(IDC_FUEL_PRICE).Type(L"0").Click(IDOK);
    std::unique_ptr<CEntry> entry = New();
    ASSERT_NE(0, EditEntry(entry.get())) << testing::PrintToString(ui.Failure());
    EXPECT_EQ((std::vector<std::wstring>{L"-5 1037 1", L"-3 1035 2", L"-0.001 1037 3", L"-1e-6 1035 4"}), seen);
    EXPECT_EQ(4, g_beeps);
    std::unique_ptr<CEntry> stored = Stored(entry->GetID());
    EXPECT_EQ(2.0f, stored->GetCustom1());
    EXPECT_EQ(0.0f, stored->GetCustom2());
    EXPECT_EQ(15.0f, stored->GetAmount());
    EXPECT_EQ(BytesOf(0.0f), SettingBytes(L"LastPrice"));
}

TEST_F(EntrySheetTest, AnExpenseNeedsADescriptionAndLongTextsComeBackWhole)
{
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_ENTRY_AMOUNT).Type(L"12.5").Click(IDOK).Answer(IDOK);
    ui.Type(L"Parking").Focus(IDC_EXPENSE_VENDOR).Type(L"City").Click(IDOK);
    std::unique_ptr<CEntry> expense = New(CEntry::etExpense);
    ASSERT_NE(0, EditEntry(expense.get())) << testing::PrintToString(ui.Failure());
    ASSERT_EQ(2u, ui.Met().size());
    EXPECT_EQ(L"A description is required.", ui.Met()[1].text);
    EXPECT_EQ(kSheet, ui.Met()[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[1].icon);
    EXPECT_STREQ(L"Parking", Stored(expense->GetID())->GetName());
    EXPECT_STREQ(L"City", Stored(expense->GetID())->GetVendor());

    std::wstring notes, description(2000, L'd');
    while (notes.size() < 100000) notes += L"Tyre pressure checked, oil topped up, all fine.\r\n";
    CEntryRecord record(car, CEntry::etExpense);
    record.Description(description.c_str()).Notes(notes.c_str());
    std::unique_ptr<CEntry> entry = Loaded(record);
    UI again;
    again.WaitFor(kSheet).ClickTab(1).ClickTab(0).Focus(IDC_ENTRY_AMOUNT).Type(L"7").Click(IDOK);
    ASSERT_NE(0, EditEntry(entry.get())) << testing::PrintToString(again.Failure());
    std::unique_ptr<CEntry> stored = Stored(entry->GetID());
    EXPECT_EQ(7.0f, stored->GetAmount());
    EXPECT_TRUE(notes == stored->GetNotes()) << wcslen(stored->GetNotes()) << " characters";
    EXPECT_TRUE(description == stored->GetName()) << wcslen(stored->GetName()) << " characters";
}

TEST_F(EntrySheetTest, AnExpenseRefusesAFieldWithoutAMessageAndOffersTheExpenseKeywords)
{
    CKeywordRecord(CKeyword::ktRepair, L"Brakes").Save(db.Db());
    CKeywordRecord(CKeyword::ktExpense, L"Parking").Save(db.Db());
    // The description box's items, then after each refused OK the active window and the focus (a
    // message box is noted and closed, so that the script goes on).
    std::vector<std::wstring> seen;
    const auto look = [&](HWND active) {
        const bool box = UI::IsMessageBox(active);
        seen.push_back(UI::Text(active) + (box ? L" box " : L" ") + std::to_wstring(FocusedId()));
        if (box) PostMessageW(active, WM_COMMAND, IDOK, 0);
    };
    UI ui;
    ui.WaitFor(kSheet).Do([&](HWND sheet) {
        HWND box = UI::Control(sheet, IDC_ENTRY_KEYWORD);
        wchar_t first[32] = {};
        SendMessageW(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        seen.push_back(std::to_wstring(SendMessageW(box, CB_GETCOUNT, 0, 0)) + L" " + first);
    });
    ui.Focus(IDC_ENTRY_ODOMETER).Type(L"\b").Click(IDOK).Do(look);
    ui.Type(L"12100").Focus(IDC_ENTRY_AMOUNT).Type(L"1e39").Click(IDOK).Do(look);
    ui.Focus(IDC_ENTRY_AMOUNT).Type(L"4.5").Click(IDC_ENTRY_KEYWORDS).Window([&](HWND keywords) {
        seen.push_back(UI::Text(keywords));
    });
    ui.Type(L"Car wash").Click(IDC_KEYWORD_ADD).ClickItem(IDC_KEYWORD_LIST, 0, true).WaitFor(kSheet).Click(IDOK);
    std::unique_ptr<CEntry> expense = New(CEntry::etExpense);
    ASSERT_NE(0, EditEntry(expense.get())) << testing::PrintToString(ui.Failure());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"1 Parking", L"Entry Properties 1028", L"Entry Properties 1002", L"Expenses"}),
        seen);
    EXPECT_EQ(3u, ui.Met().size()) << "the sheet, the keywords, the sheet: no message box";
    std::unique_ptr<CEntry> stored = Stored(expense->GetID());
    EXPECT_EQ(12100, stored->GetOdometer());
    EXPECT_EQ(4.5f, stored->GetAmount());
    EXPECT_STREQ(L"Car wash", stored->GetName());
}

TEST_F(EntrySheetTest, OkWithoutAChangeOrCancelAfterTypingSavesNothing)
{
    // Six decimals of a day (02:57:46.5984) and more digits than the fields show.
    for (CEntry::Type type : {CEntry::etFuel, CEntry::etExpense}) {
        for (bool cancel : {false, true}) {
            CEntryRecord record(car, type);
            record.Date(46000.123456).Odometer(11950).Amount(12345.67f).Custom(3.14159265f, 0.1f).Description(L"Toll");
            std::unique_ptr<CEntry> entry = Loaded(record);
            const double modified = Stored(entry->GetID())->GetDateModified();
            UI ui;
            ui.WaitFor(kSheet).ClickTab(1);  // both pages opened
            if (cancel) ui.Focus(IDC_NOTES_TEXT).Type(L"new").ClickTab(0).Focus(IDC_ENTRY_ODOMETER).Type(L"1").Escape();
            if (!cancel) ui.Click(IDOK);
            EXPECT_EQ(0, EditEntry(entry.get())) << type << " " << testing::PrintToString(ui.Failure());
            EXPECT_SCRIPT(ui);
            EXPECT_FALSE(entry->IsDirty());
            EXPECT_EQ(46000.123456, entry->GetDate());
            EXPECT_EQ(12345.67f, entry->GetAmount());
            EXPECT_EQ(11950, entry->GetOdometer());
            EXPECT_EQ(modified, Stored(entry->GetID())->GetDateModified()) << "nothing saved";
        }
    }
}

TEST_F(EntrySheetTest, ASaveRefusedByABusyFileIsMadeAgainOnRetryAndGivenUpOnCancel)
{
    // What each kind of entry needs typed; the typed text is kept in the entry.
    const struct {
        CEntry::Type type;
        int field;
        const wchar_t* typed;
    } kinds[] = {{CEntry::etFuel, IDC_ENTRY_KEYWORD, L"Shell"},
                 {CEntry::etRepair, IDC_ENTRY_KEYWORD, L"Brakes"},
                 {CEntry::etTrip, IDC_TRIP_DESCRIPTION, L"Airport"},
                 {CEntry::etExpense, IDC_ENTRY_KEYWORD, L"Toll"}};
    const auto typedText = [](const CEntry& entry) {
        return std::wstring(entry.GetType() == CEntry::etFuel ? entry.GetVendor() : entry.GetName());
    };
    for (const auto& kind : kinds) {
        for (int button : {IDRETRY, IDCANCEL}) {
            SCOPED_TRACE(testing::Message() << "type " << kind.type << ", button " << button);
            const int entries = db.CountEntries();
            ASSERT_TRUE(db.Db().BeginTransaction());  // the write lock a synchronisation holds
            bool retryAndCancelOnly = false;
            UI ui;
            ui.WaitFor(kSheet).Focus(kind.field).Type(kind.typed).Click(IDOK);
            ui.Answer(button, [&](HWND box) {
                retryAndCancelOnly = GetDlgItem(box, IDRETRY) && GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDOK);
                db.Db().RollBack();  // the other program is done meanwhile
            });
            std::unique_ptr<CEntry> entry = New(kind.type);
            const int saved = EditEntry(entry.get());
            EXPECT_SCRIPT(ui);
            ASSERT_EQ(2u, ui.Met().size());
            EXPECT_EQ(L"Autolark", ui.Met()[1].caption);
            EXPECT_EQ(
                L"Your changes could not be saved: the data file is in use by another program (a "
                L"synchronisation may be running).\n\nClick Retry to save them again, or Cancel to give them "
                L"up.",
                ui.Met()[1].text);
            EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), ui.Met()[1].icon);
            EXPECT_TRUE(retryAndCancelOnly);
            EXPECT_EQ(kind.typed, typedText(*entry)) << "what was typed stays in the entry";
            if (button == IDRETRY) {
                ASSERT_NE(0, saved);
                EXPECT_EQ(entries + 1, db.CountEntries());
                EXPECT_EQ(kind.typed, typedText(*Stored(entry->GetID())));
            } else {
                EXPECT_EQ(0, saved);
                EXPECT_EQ(0, entry->GetID());
                EXPECT_EQ(entries, db.CountEntries());
            }
        }
    }
}

TEST_F(EntrySheetTest, DamageALoadFoundInTheFileIsToldBeforeTheFirstWriteIntoIt)
{
    g_DataLayer.Disconnect();
    ASSERT_NE(0u, alk_faulty_files::WriteDamagedEntries(db.Db(), db.Path()));
    ASSERT_EQ(CDataLayer::csConnected, g_DataLayer.Connect(db.Path().c_str()));
    ForgetDamageTold();
    CObjectListT<CEntry> entries;
    CEntryFilter all;
    ASSERT_EQ(0, g_DataLayer.Load(&entries, &all)) << "a load meets the damage, nobody is told yet";

    const std::string before = alk_faulty_files::FileBytes(db.Path());
    bool unchangedUntilTold = false;
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_FUEL_QUANTITY).Type(L"10").Click(IDOK);
    ui.Answer(IDOK, [&](HWND) { unchangedUntilTold = before == alk_faulty_files::FileBytes(db.Path()); });
    std::unique_ptr<CEntry> entry = New();
    EXPECT_NE(0, EditEntry(entry.get())) << "written once the user knows";
    EXPECT_SCRIPT(ui);
    ASSERT_EQ(2u, ui.Met().size());
    EXPECT_EQ(0u, ui.Met()[1].text.find(db.Path() + L" is damaged: Autolark could not read all of the data in it"));
    EXPECT_TRUE(unchangedUntilTold);

    // Told once for the connection: the next save asks nothing.
    UI next;
    next.WaitFor(kSheet).Focus(IDC_FUEL_QUANTITY).Type(L"20").Click(IDOK);
    EXPECT_NE(0, EditEntry(New().get()));
    EXPECT_SCRIPT(next);
    EXPECT_EQ(1u, next.Met().size());
}

}  // namespace
