// The main window's commands that open the editor and the small dialogs, and the reloads a
// synchronisation asks for while a sheet or a confirmation is up.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "desktop/QuickStatsListView.h"
#include "desktop/Utility.h"
#include "MainWindowTestSupport.h"

using namespace alk_editor_test;

namespace {

const wchar_t kSheet[] = L"Entry Properties";
const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};  // UTC and local alike

class EntryCommandsTest : public MainWindowTest {
protected:
    static void SetUpTestSuite()
    {
        MainWindowTest::SetUpTestSuite();
        CUtcClock::SetFixedTime(&kToday);
        SetFixedLocalTime(&kToday);
    }
    void SetUp() override
    {
        MainWindowTest::SetUp();
        van = CVehicleRecord(L"Van").Year(1999).Odometer(80000).Save(db.Db());
        fuel = Add(car, CEntry::etFuel, 3);  // 12 June
        Add(car, CEntry::etRepair, 40);      // 6 May
        Add(van, CEntry::etExpense, 5);
        OpenFrame(car);
    }

    long Add(unsigned long vehicle, CEntry::Type type, int daysAgo)
    {
        CEntryRecord record(vehicle, type);
        record.Date(DaysBefore(kToday, daysAgo)).Odometer(11950).Amount(30).Custom(10, 3).Description(L"Paid");
        EXPECT_NE(0u, record.Save(db.Db()));
        return record.Get().GetID();
    }
    int Rows(int id) { return ListView_GetItemCount(List(id)); }
    // Rows selected in a list that has the focus; the entry rows by their dates.
    void Select(int id, std::vector<int> rows)
    {
        SetFocus(List(id));
        SelectRows(List(id), rows);
    }
    int Row(const wchar_t* date) { return FindRow(List(IDC_ENTRY_LIST), date); }

    unsigned long van = 0;
    long fuel = 0;
};

TEST_F(EntryCommandsTest, NewEntriesAreStoredListedWhenTheViewShowsThemAndRaiseTheOdometer)
{
    std::wstring proposed;
    UI ui;
    ui.WaitFor(kSheet).Do([&](HWND sheet) { proposed = UI::Text(sheet, IDC_ENTRY_ODOMETER); });
    ui.Focus(IDC_ENTRY_ODOMETER).Type(L"12500").Tab().Type(L"10").Click(IDOK);
    Command(ID_NEW_FUEL);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(L"12000", proposed);
    EXPECT_EQ(3, Rows(IDC_ENTRY_LIST));
    EXPECT_EQ(Row(L"6/15/2026"), ListView_GetNextItem(List(IDC_ENTRY_LIST), -1, LVNI_SELECTED));
    EXPECT_EQ(12500, g_AppSettings.ActiveOdometer);
    CVehicle stored;
    stored.SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(&stored));
    EXPECT_EQ(12500, stored.GetCurrentOdometer());

    // Outside the view: stored, not listed.
    Command(ID_VIEW_LAST_WEEK);
    UI outside;
    outside.WaitFor(kSheet).SetDate(IDC_ENTRY_DATE, Utc(2026, 5, 1, 9)).Focus(IDC_ENTRY_KEYWORD).Type(L"Toll");
    outside.Click(IDOK);
    Command(ID_NEW_EXPENSE);
    EXPECT_SCRIPT(outside);
    EXPECT_EQ(2, Rows(IDC_ENTRY_LIST));
    EXPECT_EQ(5, db.CountEntries());

    // No vehicle active: a message, no sheet.
    Select(IDC_VEHICLE_LIST, {FindRow(List(IDC_VEHICLE_LIST), L"Family Car (2002)")});
    AnswerBox(IDYES, [&] { Command(ID_DELETE_SELECTED); });
    UI::Seen box = AnswerBox(IDOK, [&] { Command(ID_NEW_FUEL); });
    EXPECT_EQ(
        L"No vehicle is currently active. Create a new vehicle or select an existing one from the \"My "
        L"Vehicles\" list.",
        box.text);
    EXPECT_NE(L"Autolark", box.caption) << "the system's caption";
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.icon);
    EXPECT_EQ(1, db.CountEntries()) << "the van's";
}

TEST_F(EntryCommandsTest, NewRepairsAndTripsOpenTheirSheetsAndATripMovesTheOdometerToItsEnd)
{
    std::wstring odometers;
    UI ui;
    ui.WaitFor(L"Entry Properties").Do([&](HWND sheet) {
        odometers = UI::Text(sheet, IDC_TRIP_START) + L"|" + UI::Text(sheet, IDC_TRIP_END);
    });
    ui.Focus(IDC_TRIP_DESCRIPTION).Type(L"Airport").Focus(IDC_TRIP_DISTANCE).Type(L"60").Click(IDOK);
    ui.WaitFor(L"Entry Properties").Focus(IDC_ENTRY_KEYWORD).Type(L"Oil change").Click(IDOK);
    Command(ID_NEW_TRIP);
    Command(ID_NEW_REPAIR);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(L"12000|12100", odometers) << "from the active vehicle's odometer";
    EXPECT_EQ(5, db.CountEntries());
    EXPECT_EQ(4, Rows(IDC_ENTRY_LIST)) << "the car's two and the new ones";
    EXPECT_EQ(12060, g_AppSettings.ActiveOdometer);
    CVehicle stored;
    stored.SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(&stored));
    EXPECT_EQ(12060, stored.GetCurrentOdometer());
}

TEST_F(EntryCommandsTest, EditOpensTheOneSelectedEntryByCommandDoubleClickAndEnter)
{
    Select(IDC_ENTRY_LIST, {Row(L"6/12/2026")});
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_ENTRY_ODOMETER).Type(L"11960").Click(IDOK);
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(11960, Stored(fuel)->GetOdometer());
    EXPECT_EQ(L"11,960", ItemText(List(IDC_ENTRY_LIST), Row(L"6/12/2026"), 2));

    const auto notify = [&](UINT code, WORD key) {
        NMLVKEYDOWN header{{List(IDC_ENTRY_LIST), IDC_ENTRY_LIST, code}, key, 0};
        SendMessageW(GetParent(List(IDC_ENTRY_LIST)), WM_NOTIFY, IDC_ENTRY_LIST, reinterpret_cast<LPARAM>(&header));
    };
    const std::function<void()> ways[] = {[&] { notify(NM_DBLCLK, 0); }, [&] { notify(LVN_KEYDOWN, VK_RETURN); },
                                          [&] { Command(ID_EDIT_SELECTED); }};
    for (const auto& way : ways) {
        Select(IDC_ENTRY_LIST, {Row(L"6/12/2026")});
        UI again;
        again.WaitFor(kSheet).Escape();
        way();
        EXPECT_SCRIPT(again);
    }
    // Two entries selected, or the focus in another pane: nothing opens.
    for (bool two : {true, false}) {
        Select(IDC_ENTRY_LIST, two ? std::vector<int>{0, 1} : std::vector<int>{Row(L"6/12/2026")});
        if (!two) SetFocus(List(IDC_QUICK_STATS));
        UI none;
        none.Window(nullptr);
        Command(ID_EDIT_SELECTED);
        EXPECT_EQ(0u, none.Done());
    }
}

TEST_F(EntryCommandsTest, AReloadDuringASheetOrAConfirmationWaitsUntilTheCommandIsDone)
{
    // The sheet: the typed odometer is saved, then the list shows what another connection wrote.
    Select(IDC_ENTRY_LIST, {Row(L"6/12/2026")});
    UI ui;
    ui.WaitFor(kSheet).Do([&](HWND) {
        Add(car, CEntry::etExpense, 1);
        frame->SendMessage(WM_RELOAD_DATA);
    });
    ui.Focus(IDC_ENTRY_ODOMETER).Type(L"11955").Click(IDOK);
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(11955, Stored(fuel)->GetOdometer());
    EXPECT_EQ(3, Rows(IDC_ENTRY_LIST));

    // The confirmations, with a reload sent before Yes: the records asked about go.
    Select(IDC_ENTRY_LIST, {Row(L"6/12/2026"), Row(L"5/6/2026")});
    UI entries;
    entries.Do([&](HWND) { frame->SendMessage(WM_RELOAD_DATA); }).Answer(IDYES);
    Command(ID_DELETE_SELECTED);
    EXPECT_SCRIPT(entries);
    EXPECT_EQ(2, db.CountEntries()) << "the van's and the one written meanwhile";
    EXPECT_EQ(1, Rows(IDC_ENTRY_LIST));

    Select(IDC_VEHICLE_LIST, {FindRow(List(IDC_VEHICLE_LIST), L"Family Car (2002)")});
    UI vehicle;
    vehicle.Do([&](HWND) { frame->SendMessage(WM_RELOAD_DATA); }).Answer(IDYES);
    Command(ID_DELETE_SELECTED);
    EXPECT_SCRIPT(vehicle);
    EXPECT_EQ(1, db.CountVehicles());
    EXPECT_EQ(1, db.CountEntries());
    ASSERT_EQ(1, Rows(IDC_VEHICLE_LIST));
    EXPECT_EQ(L"Van (1999)", ItemText(List(IDC_VEHICLE_LIST), 0, 0));
}

TEST_F(EntryCommandsTest, AnEditTheBusyFileRefusedIsSavedOnRetryThoughASynchronisationReloadedMeanwhile)
{
    // The synchronisation holds the file while the user confirms the sheet, then writes, lets go
    // and asks for a reload while the box about the refused save is up: the edited entry (the
    // list's own record) outlives the reload and is saved on Retry with what was typed.
    Select(IDC_ENTRY_LIST, {Row(L"6/12/2026")});
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_ENTRY_ODOMETER).Type(L"11960").Click(IDOK);
    ui.Answer(IDRETRY, [&](HWND) {
        Add(car, CEntry::etExpense, 1);
        ASSERT_EQ(CDataLayer::crCommitted, db.Db().Commit());
        frame->SendMessage(WM_RELOAD_DATA);
    });
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(11960, Stored(fuel)->GetOdometer());
    EXPECT_EQ(3, Rows(IDC_ENTRY_LIST)) << "the reload ran once the command was done";
    EXPECT_EQ(L"11,960", ItemText(List(IDC_ENTRY_LIST), Row(L"6/12/2026"), 2));

    // Given up: the file keeps what it held, and so does the list after the next reload.
    Select(IDC_ENTRY_LIST, {Row(L"6/12/2026")});
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI cancelled;
    cancelled.WaitFor(kSheet).Focus(IDC_ENTRY_ODOMETER).Type(L"11970").Click(IDOK);
    cancelled.Answer(IDCANCEL, [&](HWND) { db.Db().RollBack(); });
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(cancelled);
    EXPECT_EQ(11960, Stored(fuel)->GetOdometer());
}

TEST_F(EntryCommandsTest, DeletesTheBusyFileRefusedAreToldAndTheListsKeepWhatTheFileHolds)
{
    // A synchronisation holds the file while the user confirms. Cancel on the box about the
    // refused delete: the entries stay in the file, and so in the list; Retry once the file is
    // free deletes them.
    const std::vector<int> both = {Row(L"6/12/2026"), Row(L"5/6/2026")};
    Select(IDC_ENTRY_LIST, both);
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI given;
    given.Answer(IDYES).Answer(IDCANCEL);
    Command(ID_DELETE_SELECTED);
    EXPECT_SCRIPT(given);
    ASSERT_EQ(2u, given.Met().size());
    EXPECT_EQ(0u, given.Met()[1].text.find(L"Your changes could not be saved: the data file is in use"));
    EXPECT_EQ(3, db.CountEntries());
    EXPECT_EQ(2, Rows(IDC_ENTRY_LIST)) << "listed as the file holds them";

    Select(IDC_ENTRY_LIST, both);
    UI retried;
    retried.Answer(IDYES).Answer(IDRETRY, [&](HWND) { db.Db().RollBack(); });
    Command(ID_DELETE_SELECTED);
    EXPECT_SCRIPT(retried);
    EXPECT_EQ(1, db.CountEntries()) << "the van's";
    EXPECT_EQ(0, Rows(IDC_ENTRY_LIST));

    // A vehicle: told, and kept on Cancel.
    Select(IDC_VEHICLE_LIST, {FindRow(List(IDC_VEHICLE_LIST), L"Family Car (2002)")});
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI vehicle;
    vehicle.Answer(IDYES).Answer(IDCANCEL, [&](HWND) { db.Db().RollBack(); });
    Command(ID_DELETE_SELECTED);
    EXPECT_SCRIPT(vehicle);
    ASSERT_EQ(2u, vehicle.Met().size());
    EXPECT_EQ(0u, vehicle.Met()[1].text.find(L"Your changes could not be saved: the data file is in use"));
    EXPECT_EQ(2, db.CountVehicles());
    EXPECT_EQ(2, Rows(IDC_VEHICLE_LIST));
}

TEST_F(EntryCommandsTest, AReloadWhileOptionsOrDatabaseInformationIsUpRunsOnceItCloses)
{
    // Neither dialog holds a record, but each disables the window: the reload is held until the
    // window is enabled again, and then runs without another being sent.
    // clang-format off
    const struct { UINT command; const wchar_t* caption; } dialogs[] = {
        {ID_TOOLS_OPTIONS,      L"Options"},
        {ID_FILE_DATABASE_INFO, L"Database Information"},
    };
    // clang-format on
    int expected = Rows(IDC_ENTRY_LIST);
    for (const auto& d : dialogs) {
        std::wstring during;
        UI ui;
        ui.WaitFor(d.caption).Do([&](HWND) {
            Add(car, CEntry::etExpense, 1);
            frame->SendMessage(WM_RELOAD_DATA);
            during = std::to_wstring(frame->IsWindowEnabled()) + L" " + std::to_wstring(Rows(IDC_ENTRY_LIST));
        });
        ui.Click(IDCANCEL);
        Command(d.command);
        EXPECT_SCRIPT(ui);
        EXPECT_EQ(L"0 " + std::to_wstring(expected), during) << d.caption;
        EXPECT_EQ(++expected, Rows(IDC_ENTRY_LIST)) << d.caption << ": the entry written meanwhile";
    }
}

TEST_F(EntryCommandsTest, CustomDatesOptionsAndDatabaseInformationOpenFromTheirCommands)
{
    const auto pickers = [](HWND dialog) {
        SYSTEMTIME from{}, to{};
        DateTime_GetSystemtime(GetDlgItem(dialog, IDC_RANGE_START), &from);
        DateTime_GetSystemtime(GetDlgItem(dialog, IDC_RANGE_END), &to);
        return std::to_wstring(from.wMonth) + L"/" + std::to_wstring(from.wDay) + L" " + std::to_wstring(to.wMonth) +
               L"/" + std::to_wstring(to.wDay);
    };
    std::vector<std::wstring> shown;
    UI ui;
    ui.WaitFor(L"Select Date Range").Do([&](HWND dialog) { shown.push_back(pickers(dialog)); });
    ui.SetDate(IDC_RANGE_START, Utc(2026, 6, 1)).SetDate(IDC_RANGE_END, Utc(2026, 6, 12)).Click(IDOK);
    ui.WaitFor(L"Select Date Range").Do([&](HWND dialog) { shown.push_back(pickers(dialog)); });
    ui.SetDate(IDC_RANGE_START, Utc(2020, 1, 1)).Escape();
    ui.WaitFor(L"Options").Focus(IDC_OPTIONS_RATE).Type(L" .5 ").Focus(IDC_OPTIONS_VOLUME).Key(VK_DOWN).Click(IDOK);
    ui.WaitFor(L"Database Information").Click(IDCANCEL);
    for (UINT id : {ID_VIEW_CUSTOM_DATES, ID_VIEW_CUSTOM_DATES, ID_TOOLS_OPTIONS, ID_FILE_DATABASE_INFO}) Command(id);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ((std::vector<std::wstring>{L"6/15 6/15", L"6/1 6/12"}), shown) << "today, then the range chosen";
    EXPECT_EQ(1, Rows(IDC_ENTRY_LIST)) << "the fuel entry of 12 June; Cancel kept the range";
    EXPECT_TRUE(frame->UIGetState(ID_VIEW_CUSTOM_DATES) & UPDUI_CHECKED);
    wchar_t status[64] = {};
    SendMessageW(FindControl(*frame, ALK_IDW_STATUS_BAR), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(L"6/1/2026 - 6/12/2026", status);
    EXPECT_EQ(BytesOf(0.5f), SettingBytes(L"MileageRate")) << "written when Options ended";
    EXPECT_EQ(BytesOf(DWORD{1}), SettingBytes(L"UnitVolume"));
}

TEST_F(EntryCommandsTest, AChangeOfUnitsInOptionsShowsAtOnceInTheEntryListAsInTheStatistics)
{
    HWND list = List(IDC_ENTRY_LIST);
    const int row = Row(L"6/12/2026");
    ASSERT_GE(row, 0);
    ASSERT_EQ(L"10.00 gal @ $3.00", ItemText(list, row, 1));
    Select(IDC_ENTRY_LIST, {row});
    auto stats = [&](int value) {
        CQuickStatsListView* pane = ObjectOf<CQuickStatsListView>(List(IDC_QUICK_STATS));
        return pane ? std::wstring(pane->GetValueText(value)) : L"<no statistics pane>";
    };

    // US gallons to litres (two down), miles to kilometres; Cancel first changes nothing.
    UI ui;
    ui.WaitFor(L"Options").Focus(IDC_OPTIONS_VOLUME).Key(VK_DOWN).Key(VK_DOWN).Click(IDCANCEL);
    ui.WaitFor(L"Options").Focus(IDC_OPTIONS_VOLUME).Key(VK_DOWN).Key(VK_DOWN);
    ui.Focus(IDC_OPTIONS_DISTANCE).Key(VK_DOWN).Click(IDOK);
    Command(ID_TOOLS_OPTIONS);
    EXPECT_EQ(L"10.00 gal @ $3.00", ItemText(list, row, 1));
    Command(ID_TOOLS_OPTIONS);
    EXPECT_SCRIPT(ui);
    ASSERT_EQ(2, g_AppSettings.UnitVolume);
    EXPECT_EQ(L"10.00 ltr @ $3.00", ItemText(list, Row(L"6/12/2026"), 1));
    EXPECT_EQ(L"0.00 ltr", stats(5));
    EXPECT_EQ(L"0.00 ltr per 100 kilometres", stats(8));
    // Rewritten in place: the row the user had selected still is.
    EXPECT_EQ(Row(L"6/12/2026"), ListView_GetNextItem(list, -1, LVNI_SELECTED));
    EXPECT_EQ(1u, ListView_GetSelectedCount(list));
    EXPECT_EQ(2, Rows(IDC_ENTRY_LIST));
}

}  // namespace
