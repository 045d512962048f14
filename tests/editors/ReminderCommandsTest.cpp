// The main window and reminders: New Reminder and Manage Reminders, and the due check at the
// moments the window runs it (start, a vehicle made active, an entry raising the odometer, a new
// reminder, a reload), with a reload that arrives while a due reminder shows.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/Utility.h"
#include "MainWindowTestSupport.h"

using namespace alk_editor_test;

namespace {

const wchar_t kEdit[] = L"Edit Reminder";
const wchar_t kFire[] = L"Reminder";
const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};  // UTC and local alike

class ReminderCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetFixedLocalTime(&kToday);
        van = CVehicleRecord(L"Van").Year(1999).Odometer(80000).Save(db.Db());
        Remind(car, L"Oil", 12500, OleDate(kToday) + 90);
        Remind(van, L"Van service", 0, OleDate(kToday) + 90);  // due whenever the van is active
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetFixedLocalTime(nullptr);
    }

    // The main window on the file with the vehicle remembered; the script answers what its start
    // shows.
    void Open(unsigned long remembered, UI& ui)
    {
        ASSERT_NO_FATAL_FAILURE(OpenFrame(remembered));
        EXPECT_SCRIPT(ui);
    }
    void Remind(unsigned long vehicle, const wchar_t* description, long odometer, double date)
    {
        EXPECT_NE(0u, CReminderRecord(vehicle, description).Odometer(odometer).Date(date).Save(db.Db()));
    }
    std::vector<std::wstring> StoredNames(unsigned long vehicle)
    {
        CObjectListT<CNotification> list;
        EXPECT_TRUE(db.Db().Load(&list, vehicle));
        std::vector<std::wstring> names;
        for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.Get(i)->GetName());
        return names;
    }
    int VehicleRow(const wchar_t* caption) { return FindRow(List(IDC_VEHICLE_LIST), caption); }
    // A click on the vehicle's row as the list reports it.
    void ClickVehicle(const wchar_t* caption)
    {
        SetFocus(List(IDC_VEHICLE_LIST));
        SelectRows(List(IDC_VEHICLE_LIST), {VehicleRow(caption)});
        NMITEMACTIVATE click{};
        click.hdr = {List(IDC_VEHICLE_LIST), IDC_VEHICLE_LIST, static_cast<UINT>(NM_CLICK)};
        click.iItem = VehicleRow(caption);
        frame->SendMessage(WM_NOTIFY, IDC_VEHICLE_LIST, reinterpret_cast<LPARAM>(&click));
        PumpMessages();
    }

    CFixedClock clock{kToday};
    unsigned long van = 0;
    // What each due dialog showed: vehicle, description, current odometer.
    std::vector<std::wstring> fired;
    UI::Action readFire = [this](HWND dialog) {
        fired.push_back(UI::Text(dialog, IDC_FIRE_VEHICLE) + L"|" + UI::Text(dialog, IDC_FIRE_DESCRIPTION) + L"|" +
                        UI::Text(dialog, IDC_FIRE_CURRENT_ODOMETER));
    };
};

TEST_F(ReminderCommandsTest, WithoutAnActiveVehicleBothCommandsAnswerWithTheMessage)
{
    UI start;
    Open(0, start);
    for (UINT id : {ID_NEW_REMINDER, ID_TOOLS_REMINDERS}) {
        UI::Seen box = AnswerBox(IDOK, [&] { Command(id); });
        EXPECT_EQ(
            L"No vehicle is currently active. Create a new vehicle or select an existing one from the \"My "
            L"Vehicles\" list.",
            box.text)
            << id;
        EXPECT_NE(L"Autolark", box.caption) << "the system's caption";
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.icon);
    }
}

TEST_F(ReminderCommandsTest, TheRememberedVehiclesDueRemindersShowAtStartAndDeleteRemovesThem)
{
    UI start;
    start.WaitFor(kFire).Do(readFire).Click(IDOK);
    Open(van, start);
    EXPECT_EQ(std::vector<std::wstring>{L"Van (1999)|Van service|80,000"}, fired);
    EXPECT_TRUE(StoredNames(van).empty());
}

TEST_F(ReminderCommandsTest, ANewReminderIsConfirmedThenCheckedForTheActiveVehicleWhateverRowIsSelected)
{
    UI start;
    Open(car, start);
    // The arrow keys move the selection to the van without making it active.
    SelectRows(List(IDC_VEHICLE_LIST), {VehicleRow(L"Van (1999)")});
    UI ui;
    ui.WaitFor(kEdit).Focus(IDC_REMINDER_DESCRIPTION).Type(L"Check tyres").Focus(IDC_REMINDER_ODOMETER).Type(L"11000");
    ui.Click(IDOK).Answer(IDOK).WaitFor(kFire).Do(readFire).Escape();
    Command(ID_NEW_REMINDER);
    EXPECT_SCRIPT(ui);
    ASSERT_LE(2u, ui.Met().size());
    EXPECT_EQ(
        L"The reminder has been created successfully. To see all upcoming reminders, click Tools > Manage "
        L"Reminders.",
        ui.Met()[1].text);
    EXPECT_EQ(L"Autolark", ui.Met()[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[1].icon);
    EXPECT_EQ(std::vector<std::wstring>{L"Family Car (2002)|Check tyres|12,000"}, fired);
    EXPECT_EQ((std::vector<std::wstring>{L"Oil", L"Check tyres"}), StoredNames(car));

    // Manage Reminders shows the active vehicle's.
    std::wstring caption;
    std::vector<std::wstring> rows;
    UI manage;
    manage.WaitFor(L"Manage Reminders").Do([&](HWND dialog) {
        caption = UI::Text(dialog, IDC_REMINDERS_VEHICLE);
        rows = ColumnTexts(GetDlgItem(dialog, IDC_REMINDERS_LIST), 0);
    });
    manage.Click(IDCANCEL);
    Command(ID_TOOLS_REMINDERS);
    EXPECT_SCRIPT(manage);
    EXPECT_EQ(L"Family Car (2002)", caption);
    EXPECT_EQ((std::vector<std::wstring>{L"Check tyres", L"Oil"}), rows);
}

TEST_F(ReminderCommandsTest, ActivatingAVehicleOrRaisingItsOdometerChecksItsReminders)
{
    UI start;
    Open(car, start);
    EXPECT_TRUE(fired.empty()) << "nothing of the car is due at 12,000";

    // Another vehicle clicked: its due reminder; clicked again while active: nothing.
    UI click;
    click.WaitFor(kFire).Do(readFire).Escape();
    ClickVehicle(L"Van (1999)");
    EXPECT_SCRIPT(click);
    UI again;
    again.Window(nullptr);
    ClickVehicle(L"Van (1999)");
    EXPECT_EQ(0u, again.Done());

    // Back to the car, and a fuel entry past the oil change's odometer.
    ClickVehicle(L"Family Car (2002)");
    UI entry;
    entry.WaitFor(L"Entry Properties").Focus(IDC_ENTRY_ODOMETER).Type(L"12600").Tab().Type(L"10").Click(IDOK);
    entry.WaitFor(kFire).Do(readFire).Escape();
    Command(ID_NEW_FUEL);
    EXPECT_SCRIPT(entry);

    EXPECT_EQ((std::vector<std::wstring>{L"Van (1999)|Van service|80,000", L"Family Car (2002)|Oil|12,600"}), fired);
}

// An edited vehicle becomes active again, checked as such: the active one's new odometer, and
// another vehicle selected and edited.
TEST_F(ReminderCommandsTest, EditingAVehicleChecksItsRemindersAtItsNewOdometer)
{
    UI start;
    Open(car, start);
    // The vehicle's row selected, its sheet given the odometer, then what the due check shows.
    auto edit = [&](const wchar_t* caption, const wchar_t* odometer, bool due) {
        SetFocus(List(IDC_VEHICLE_LIST));
        SelectRows(List(IDC_VEHICLE_LIST), {VehicleRow(caption)});
        UI ui;
        ui.WaitFor(L"Vehicle Properties").Focus(IDC_VEHICLE_ODOMETER).Type(odometer).Click(IDOK);
        if (due) ui.WaitFor(kFire).Do(readFire).Escape();
        Command(ID_EDIT_SELECTED);
        EXPECT_SCRIPT(ui);
    };

    edit(L"Family Car (2002)", L"12400", false);
    EXPECT_TRUE(fired.empty()) << "the oil change is due at 12,500";
    edit(L"Family Car (2002)", L"12500", true);
    edit(L"Van (1999)", L"80100", true);

    EXPECT_EQ((std::vector<std::wstring>{L"Family Car (2002)|Oil|12,500", L"Van (1999)|Van service|80,100"}), fired);
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
}

TEST_F(ReminderCommandsTest, AReloadDuringTheDueCheckWaitsForItAndChecksAgain)
{
    UI start;
    Open(car, start);
    int rowsWhileShown = -1;
    UI ui;
    ui.WaitFor(kFire).Do(readFire).Do([&](HWND) {
        EXPECT_NE(0u, CVehicleRecord(L"Bike").Year(2010).Save(db.Db()));
        frame->SendMessage(WM_RELOAD_DATA);
        rowsWhileShown = ListView_GetItemCount(List(IDC_VEHICLE_LIST));
    });
    ui.Escape().Window(readFire).Escape();
    ClickVehicle(L"Van (1999)");
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(2, rowsWhileShown) << "the list holding the van was not reloaded under the dialog";
    EXPECT_EQ(3, ListView_GetItemCount(List(IDC_VEHICLE_LIST)));
    EXPECT_EQ(2u, fired.size()) << "the reload made the van active again and checked it";
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
}

}  // namespace
