// The reminder dialogs on their own: EditNotification typed into as a user types, the due check
// with its dialogs, and the manage dialog worked by buttons, mouse, keys and its context menu;
// checked by what the dialogs show and by what the file holds afterwards. The UTC clock and the
// local "today" are pinned, and on different days, so that each field shows which one it reads.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/DlgReminders.h"
#include "desktop/Reminders.h"
#include "desktop/Utility.h"
#include "EditorTestSupport.h"

using namespace alk_editor_test;

namespace {

const wchar_t kEdit[] = L"Edit Reminder";
const wchar_t kFire[] = L"Reminder";
const wchar_t kManage[] = L"Manage Reminders";
const SYSTEMTIME kNow = {2026, 6, 1, 15, 22, 30, 0, 0};   // UTC
const SYSTEMTIME kLocal = {2026, 6, 2, 16, 0, 30, 0, 0};  // the same moment two hours east

class ReminderTest : public EditorTest {
protected:
    static void SetUpTestSuite()
    {
        EditorTest::SetUpTestSuite();
        if (!g_hBoldFont) CreateBoldFont();  // as the program makes it at start
    }
    void SetUp() override
    {
        EditorTest::SetUp();
        SetFixedLocalTime(&kLocal);
        g_AppSettings.LastActiveVehicle = car;
        g_AppSettings.ActiveOdometer = 12000;
    }
    void TearDown() override
    {
        SetFixedLocalTime(nullptr);
        EditorTest::TearDown();
    }

    long Remind(unsigned long vehicle, const wchar_t* description, long odometer, double date)
    {
        CReminderRecord record(vehicle, description);
        EXPECT_NE(0u, record.Odometer(odometer).Date(date).Save(db.Db()));
        return record.Get().GetID();
    }
    // The vehicle's reminders as the file holds them, in its order.
    std::vector<std::wstring> StoredNames(unsigned long vehicle)
    {
        CObjectListT<CNotification> list;
        EXPECT_TRUE(db.Db().Load(&list, vehicle));
        std::vector<std::wstring> names;
        for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.Get(i)->GetName());
        return names;
    }
    std::unique_ptr<CNotification> StoredReminder(long id)
    {
        std::unique_ptr<CNotification> reminder(new CNotification);
        reminder->SetID(id);
        EXPECT_TRUE(db.Db().Load(reminder.get())) << "reminder " << id;
        return reminder;
    }
    // The car as the program's lists load it, its current odometer the active one.
    std::unique_ptr<CVehicle> ActiveCar()
    {
        std::unique_ptr<CVehicle> vehicle(new CVehicle);
        vehicle->SetRefID(car);
        EXPECT_TRUE(g_DataLayer.LoadByRefID(vehicle.get()));
        vehicle->SetCurrentOdometer(g_AppSettings.ActiveOdometer);
        return vehicle;
    }

    CFixedClock clock{kNow};
    const double now = OleDate(kNow);
};

SYSTEMTIME Picked(HWND dialog)
{
    SYSTEMTIME picked{};
    DateTime_GetSystemtime(GetDlgItem(dialog, IDC_REMINDER_DATE), &picked);
    return picked;
}

// The message boxes the script met, in order.
std::vector<UI::Seen> Boxes(const UI& ui)
{
    std::vector<UI::Seen> boxes;
    for (const UI::Seen& seen : ui.Met())
        if (!seen.text.empty()) boxes.push_back(seen);
    return boxes;
}

std::wstring Shown(const SYSTEMTIME& t)
{
    wchar_t text[64];
    swprintf(text, 64, L"%d/%d/%d %02d:%02d:%02d", t.wMonth, t.wDay, t.wYear, t.wHour, t.wMinute, t.wSecond);
    return text;
}

// --- Edit Reminder -------------------------------------------------------------------------------

TEST_F(ReminderTest, ANewReminderProposesItsDefaultsAndIsSavedWithThemForTheActiveVehicle)
{
    std::wstring odometer, description, date;
    UI ui;
    ui.WaitFor(kEdit).Do([&](HWND dialog) {
        odometer = UI::Text(dialog, IDC_REMINDER_ODOMETER);
        description = UI::Text(dialog, IDC_REMINDER_DESCRIPTION);
        date = Shown(Picked(dialog));
    });
    ui.Focus(IDC_REMINDER_DESCRIPTION).Type(L"Tyre rotation").Click(IDOK);
    CNotification reminder;
    ASSERT_NE(0, EditNotification(&reminder));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(L"15000", odometer);
    EXPECT_EQ(L"", description);
    EXPECT_EQ(L"8/14/2026 22:30:00", date) << "sixty days on in UTC, the time of day kept";

    std::unique_ptr<CNotification> stored = StoredReminder(reminder.GetID());
    EXPECT_EQ(car, stored->GetVehicleID());
    EXPECT_EQ(15000, stored->GetOdometer());
    EXPECT_EQ(now + 60, stored->GetDate());
    EXPECT_STREQ(L"Tyre rotation", stored->GetName());

    // Near the top of the range the proposal stays at the largest odometer; Cancel stores nothing.
    g_AppSettings.ActiveOdometer = 2147483000;
    UI top;
    top.WaitFor(kEdit).Do([&](HWND dialog) { odometer = UI::Text(dialog, IDC_REMINDER_ODOMETER); }).Escape();
    CNotification another;
    EXPECT_EQ(0, EditNotification(&another));
    EXPECT_SCRIPT(top);
    EXPECT_EQ(L"2147483647", odometer);
    EXPECT_EQ(std::vector<std::wstring>{L"Tyre rotation"}, StoredNames(car));
}

TEST_F(ReminderTest, AnEditWithoutAChangeSavesNothingAndAChangeKeepsTheUntouchedDate)
{
    const long id = Remind(car, L"Timing belt", 20000, 46250.123457);
    CNotification reminder;
    reminder.SetID(id);
    ASSERT_TRUE(g_DataLayer.Load(&reminder));
    const double modified = StoredReminder(id)->GetDateModified();

    UI ui;
    ui.WaitFor(kEdit).Click(IDOK);
    EXPECT_EQ(0, EditNotification(&reminder));
    EXPECT_SCRIPT(ui);
    EXPECT_FALSE(reminder.IsDirty());
    EXPECT_EQ(46250.123457, reminder.GetDate());
    EXPECT_EQ(modified, StoredReminder(id)->GetDateModified()) << "nothing saved";

    UI change;
    change.WaitFor(kEdit).Focus(IDC_REMINDER_ODOMETER).Type(L"21000").Click(IDOK);
    EXPECT_NE(0, EditNotification(&reminder));
    EXPECT_SCRIPT(change);
    std::unique_ptr<CNotification> stored = StoredReminder(id);
    EXPECT_EQ(21000, stored->GetOdometer());
    EXPECT_EQ(46250.123457, stored->GetDate()) << "the picker was not touched";
    EXPECT_STREQ(L"Timing belt", stored->GetName());
}

TEST_F(ReminderTest, OkRefusesAnOdometerOutOfRangeThenAnEmptyDescriptionAndTakesAnyText)
{
    const std::wstring longText(1000, L'x');
    std::vector<int> focus;
    UI ui;
    ui.WaitFor(kEdit).Focus(IDC_REMINDER_ODOMETER).Type(L"3000000000").Click(IDOK);
    ui.Do([&](HWND) { focus.push_back(FocusedId()); });
    ui.Focus(IDC_REMINDER_ODOMETER).Type(L"500").Click(IDOK).Answer(IDOK);
    ui.WaitFor(kEdit).Do([&](HWND) { focus.push_back(GetDlgCtrlID(GetParent(GetFocus()))); });
    ui.Focus(IDC_REMINDER_DESCRIPTION).Type(longText).Click(IDOK);
    CNotification reminder;
    ASSERT_NE(0, EditNotification(&reminder));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ((std::vector<int>{IDC_REMINDER_ODOMETER, IDC_REMINDER_DESCRIPTION}), focus);
    const std::vector<UI::Seen> boxes = Boxes(ui);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"A description is required.", boxes[0].text);
    EXPECT_EQ(L"Autolark", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes[0].icon);
    std::unique_ptr<CNotification> stored = StoredReminder(reminder.GetID());
    EXPECT_EQ(500, stored->GetOdometer());
    EXPECT_EQ(longText, stored->GetName()) << "text that is no keyword, whole";

    // The due dialog shows the whole of it.
    g_AppSettings.ActiveOdometer = 600;
    std::wstring shown;
    UI due;
    due.WaitFor(kFire).Do([&](HWND dialog) { shown = UI::Text(dialog, IDC_FIRE_DESCRIPTION); }).Escape();
    CheckDueNotifications(ActiveCar().get());
    EXPECT_SCRIPT(due);
    EXPECT_EQ(longText, shown);
}

TEST_F(ReminderTest, TheKeywordButtonPutsTheChosenKeywordIntoTheDescription)
{
    std::wstring description;
    UI ui;
    ui.WaitFor(kEdit).Click(IDC_REMINDER_KEYWORDS).WaitFor(L"Repairs and Maintenance");
    ui.Type(L"Brake pads").Click(IDC_KEYWORD_ADD).ClickItem(IDC_KEYWORD_LIST, 0, true).WaitFor(kEdit);
    ui.Do([&](HWND dialog) { description = UI::Text(dialog, IDC_REMINDER_DESCRIPTION); }).Click(IDOK);
    CNotification reminder;
    ASSERT_NE(0, EditNotification(&reminder));
    EXPECT_SCRIPT(ui);
    EXPECT_EQ(L"Brake pads", description);
    EXPECT_STREQ(L"Brake pads", StoredReminder(reminder.GetID())->GetName());
}

TEST_F(ReminderTest, ASaveRefusedByABusyFileIsMadeAgainOnRetryAndGivenUpOnCancel)
{
    const auto letGo = [&](HWND) { db.Db().RollBack(); };  // the other program is done meanwhile
    ASSERT_TRUE(db.Db().BeginTransaction());               // the write lock a synchronisation holds
    UI given;
    given.WaitFor(kEdit).Focus(IDC_REMINDER_DESCRIPTION).Type(L"Wipers").Click(IDOK).Answer(IDCANCEL, letGo);
    CNotification reminder;
    EXPECT_EQ(0, EditNotification(&reminder));
    EXPECT_TRUE(StoredNames(car).empty());
    EXPECT_STREQ(L"Wipers", reminder.GetName()) << "what was typed stays in the reminder";

    // New, then edited: saved on Retry.
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI added;
    added.WaitFor(kEdit).Focus(IDC_REMINDER_DESCRIPTION).Type(L"Tyres").Click(IDOK).Answer(IDRETRY, letGo);
    CNotification tyres;
    EXPECT_NE(0, EditNotification(&tyres));
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI edited;
    edited.WaitFor(kEdit).Focus(IDC_REMINDER_ODOMETER).Type(L"45000").Click(IDOK).Answer(IDRETRY, letGo);
    EXPECT_NE(0, EditNotification(&tyres));
    for (UI* ui : {&given, &added, &edited}) {
        EXPECT_SCRIPT(*ui);
        ASSERT_EQ(1u, Boxes(*ui).size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), Boxes(*ui)[0].icon);
        EXPECT_EQ(0u, Boxes(*ui)[0].text.find(L"Your changes could not be saved: the data file is in use"));
    }
    EXPECT_EQ(std::vector<std::wstring>{L"Tyres"}, StoredNames(car));
    EXPECT_EQ(45000, StoredReminder(tyres.GetID())->GetOdometer());
}

// --- the due check -----------------------------------------------------------------------------

struct FireSeen {
    std::wstring vehicle, description, odometer, current, date, today;
    bool bold = false;
};

FireSeen ReadFire(HWND dialog)
{
    FireSeen seen{UI::Text(dialog, IDC_FIRE_VEHICLE),  UI::Text(dialog, IDC_FIRE_DESCRIPTION),
                  UI::Text(dialog, IDC_FIRE_ODOMETER), UI::Text(dialog, IDC_FIRE_CURRENT_ODOMETER),
                  UI::Text(dialog, IDC_FIRE_DATE),     UI::Text(dialog, IDC_FIRE_TODAY)};
    LOGFONTW font{};
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog, IDC_FIRE_VEHICLE), WM_GETFONT, 0, 0));
    seen.bold = hFont && GetObjectW(hFont, sizeof font, &font) && font.lfWeight >= FW_BOLD;
    return seen;
}

// The width of a text in a control's font, and of the control.
int TextWidth(HWND control, const std::wstring& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent.cx;
}
int ClientWidth(HWND control)
{
    RECT client{};
    GetClientRect(control, &client);
    return client.right;
}
// A number's text without its grouping.
std::wstring Digits(std::wstring text)
{
    text.erase(std::remove(text.begin(), text.end(), L','), text.end());
    return text;
}

TEST_F(ReminderTest, TheOdometerFieldsHoldTheLargestOdometers)
{
    // The widest of the signed 32-bit readings, grouped as Windows groups it (Wine 8 groups only
    // the last three digits, which is narrower).
    const std::wstring widest = L"-2,147,483,648";
    g_AppSettings.ActiveOdometer = 2147483647;
    Remind(car, L"Tyres", -2147483647 - 1, now + 100);
    std::vector<std::wstring> shown;
    std::vector<int> needed, room;
    UI ui;
    ui.WaitFor(kFire).Do([&](HWND dialog) {
        for (int id : {IDC_FIRE_ODOMETER, IDC_FIRE_CURRENT_ODOMETER}) {
            HWND field = GetDlgItem(dialog, id);
            shown.push_back(UI::Text(field));
            needed.push_back(std::max(TextWidth(field, UI::Text(field)), TextWidth(field, widest)));
            room.push_back(ClientWidth(field));
        }
    });
    ui.Escape();
    CheckDueNotifications(ActiveCar().get());
    EXPECT_SCRIPT(ui);
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(L"-2147483648", Digits(shown[0]));
    EXPECT_EQ(L"2147483647", Digits(shown[1]));
    for (size_t i = 0; i < 2; ++i) EXPECT_LE(needed[i], room[i]) << shown[i];
}

TEST_F(ReminderTest, EveryDueReminderShowsInStorageOrderAndDeleteRemovesOnlyThatOne)
{
    g_AppSettings.ActiveOdometer = 20000;
    const unsigned long van = CVehicleRecord(L"Van").Save(db.Db());
    Remind(car, L"Oil", 0, now + 100);                 // odometer 0: due at any reading
    Remind(van, L"Van oil", 0, now - 1);               // another vehicle's
    Remind(car, L"Belt", 20000, now + 100);            // the odometer reached exactly
    Remind(car, L"Wipers", 20001, now + 1.0 / 86400);  // a second too early on both counts
    Remind(car, L"Inspection", 99999, now);            // dated this very second

    std::vector<FireSeen> seen;
    UI ui;
    const auto read = [&](HWND dialog) { seen.push_back(ReadFire(dialog)); };
    ui.WaitFor(kFire).Do(read).Click(IDOK);  // deleted
    ui.Window(read).Escape();
    ui.Window(read).Do([](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    CheckDueNotifications(ActiveCar().get());
    EXPECT_SCRIPT(ui);

    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(L"Oil", seen[0].description);
    EXPECT_EQ(L"Belt", seen[1].description);
    EXPECT_EQ(L"Inspection", seen[2].description);
    EXPECT_EQ(L"Family Car (2002)", seen[0].vehicle);
    EXPECT_TRUE(seen[0].bold);
    EXPECT_EQ(L"0", seen[0].odometer);
    EXPECT_EQ(L"20,000", seen[1].odometer);
    EXPECT_EQ(L"20,000", seen[1].current);
    EXPECT_EQ(L"9/23/2026", seen[1].date);
    EXPECT_EQ(L"6/15/2026", seen[2].date);
    EXPECT_EQ(L"6/16/2026", seen[2].today) << "the local date";
    EXPECT_EQ((std::vector<std::wstring>{L"Belt", L"Wipers", L"Inspection"}), StoredNames(car));
    EXPECT_EQ(std::vector<std::wstring>{L"Van oil"}, StoredNames(van));

    // Shown again at the next check, in the user's number format; none without an active vehicle.
    CThreadLocale german(kGermany);
    seen.clear();
    UI again;
    again.WaitFor(kFire).Do(read).Escape().Window(read).Escape();
    CheckDueNotifications(ActiveCar().get());
    EXPECT_SCRIPT(again);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(L"20.000", seen[0].odometer);
    EXPECT_EQ(L"20.000", seen[0].current);

    g_AppSettings.LastActiveVehicle = 0;
    UI none;
    none.Window(nullptr);
    CheckDueNotifications(nullptr);
    EXPECT_EQ(0u, none.Done());
}

// --- Manage Reminders ----------------------------------------------------------------------------

// A mouse click, or double click, in the middle of a list-view row.
void ClickRow(HWND list, int row, bool doubleClick)
{
    RECT rc{};
    rc.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    if (!doubleClick) return;
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
}

// The context menu that is up: its Edit and Delete greyed, and their icons.
struct MenuSeen {
    bool shown = false, editGrayed = false, deleteGrayed = false, icons = false;
};
MenuSeen ReadMenu()
{
    MenuSeen seen;
    HWND window = FindWindowW(L"#32768", nullptr);
    HMENU menu = window ? reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)) : nullptr;
    if (!menu) return seen;
    seen.shown = true;
    seen.editGrayed = GetMenuState(menu, ID_EDIT_SELECTED, MF_BYCOMMAND) & MF_GRAYED;
    seen.deleteGrayed = GetMenuState(menu, ID_DELETE_SELECTED, MF_BYCOMMAND) & MF_GRAYED;
    seen.icons = true;
    for (UINT id : {ID_EDIT_SELECTED, ID_DELETE_SELECTED}) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_BITMAP;
        GetMenuItemInfoW(menu, id, FALSE, &info);
        seen.icons = seen.icons && info.hbmpItem == HBMMENU_CALLBACK;
    }
    return seen;
}

class ManageRemindersTest : public ReminderTest {
protected:
    void SetUp() override
    {
        ReminderTest::SetUp();
        Remind(car, L"Oil", 15000, now + 10);
        Remind(car, L"Belt", 60000, now + 400);
        Remind(car, L"Wipers", 13000, now + 30);
        Remind(CVehicleRecord(L"Van").Save(db.Db()), L"Van oil", 0, now);
    }
    // Runs the dialog for the car with the script.
    void Run(UI& ui)
    {
        CDlgReminders dialog;
        dialog.m_vehicleCaption = L"Family Car (2002)";
        dialog.DoModal(nullptr);
        EXPECT_SCRIPT(ui);
    }

    static HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_REMINDERS_LIST); }
    static std::vector<std::wstring> Rows(HWND dialog, int column = 0) { return ColumnTexts(List(dialog), column); }
    static int Selected(HWND dialog) { return ListView_GetNextItem(List(dialog), -1, LVNI_SELECTED); }
    static std::wstring Buttons(HWND dialog)
    {
        std::wstring state;
        for (int id : {IDC_REMINDERS_EDIT, IDC_REMINDERS_DELETE})
            state += IsWindowEnabled(GetDlgItem(dialog, id)) ? L"on " : L"off ";
        return state;
    }
    static void Select(HWND dialog, int row)
    {
        SetFocus(List(dialog));
        SelectRows(List(dialog), row < 0 ? std::vector<int>{} : std::vector<int>{row});
    }
};

TEST_F(ManageRemindersTest, TheListShowsTheVehiclesRemindersNewestFirstAndTheButtonsFollowTheSelection)
{
    std::wstring caption, buttons;
    std::vector<std::vector<std::wstring>> shown;
    bool bold = false;
    int imageOfFirst = -1;
    UI ui;
    ui.WaitFor(kManage).Do([&](HWND dialog) {
        caption = UI::Text(dialog, IDC_REMINDERS_VEHICLE);
        LOGFONTW font{};
        HFONT hFont = reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_REMINDERS_VEHICLE, WM_GETFONT, 0, 0));
        bold = hFont && GetObjectW(hFont, sizeof font, &font) && font.lfWeight >= FW_BOLD;
        for (int column = 0; column < 3; ++column) shown.push_back(Rows(dialog, column));
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        ListView_GetItem(List(dialog), &item);
        imageOfFirst = item.iImage;
        buttons = Buttons(dialog);
        Select(dialog, 1);
        buttons += Buttons(dialog);
        Select(dialog, -1);
        buttons += Buttons(dialog);
    });
    ui.Click(IDCANCEL);
    Run(ui);
    EXPECT_EQ(L"Family Car (2002)", caption);
    EXPECT_TRUE(bold);
    ASSERT_EQ(3u, shown.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Wipers", L"Belt", L"Oil"}), shown[0]);
    EXPECT_EQ((std::vector<std::wstring>{L"7/15/2026", L"7/20/2027", L"6/25/2026"}), shown[1]);
    EXPECT_EQ((std::vector<std::wstring>{L"13,000", L"60,000", L"15,000"}), shown[2]);
    EXPECT_EQ(0, imageOfFirst);
    EXPECT_EQ(L"off off on on off off ", buttons);
}

TEST_F(ManageRemindersTest, EditByButtonDoubleClickEnterAndContextMenuMovesASavedRowToTheTop)
{
    std::vector<std::wstring> trail;
    MenuSeen withSelection, withoutSelection;
    const auto note = [&](HWND dialog) {
        trail.push_back(UI::Text(dialog) + L": " + Rows(dialog)[0] + L" " + Rows(dialog, 2)[0] + L" @" +
                        std::to_wstring(Selected(dialog)));
    };
    UI ui;
    // The button.
    ui.WaitFor(kManage).Do([&](HWND dialog) { Select(dialog, 2); }).Click(IDC_REMINDERS_EDIT);
    ui.WaitFor(kEdit).Focus(IDC_REMINDER_ODOMETER).Type(L"15500").Click(IDOK).WaitFor(kManage).Do(note);
    // A double click, closed without a change: the row stays where it is.
    ui.Do([&](HWND dialog) { ClickRow(List(dialog), 2, true); }).WaitFor(kEdit).Click(IDOK).WaitFor(kManage).Do(note);
    // Enter in the list: one editor.
    ui.Do([&](HWND dialog) { Select(dialog, 1); }).Enter().WaitFor(kEdit).Focus(IDC_REMINDER_DESCRIPTION);
    ui.Type(L"New wipers").Click(IDOK).WaitFor(kManage).Do(note);
    // The context menu, greyed without a selection, then Edit chosen from it.
    ui.Do([&](HWND dialog) {
        Select(dialog, -1);
        PostMessageW(List(dialog), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(dialog)), MAKELPARAM(-1, -1));
    });
    ui.Do([&](HWND) {
        withoutSelection = ReadMenu();
        EndMenu();
    });
    ui.Do([&](HWND dialog) {
        Select(dialog, 2);
        PostMessageW(List(dialog), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(dialog)), MAKELPARAM(-1, -1));
    });
    ui.Do([&](HWND) {
        withSelection = ReadMenu();
        // The first item ("Edit...") highlighted and chosen, as the keyboard does.
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    });
    ui.WaitFor(kEdit).Focus(IDC_REMINDER_ODOMETER).Type(L"61000").Click(IDOK).WaitFor(kManage).Do(note);
    ui.Click(IDCANCEL);
    Run(ui);

    EXPECT_EQ(
        (std::vector<std::wstring>{L"Manage Reminders: Oil 15,500 @0", L"Manage Reminders: Oil 15,500 @2",
                                   L"Manage Reminders: New wipers 13,000 @0", L"Manage Reminders: Belt 61,000 @0"}),
        trail);
    EXPECT_TRUE(withoutSelection.shown);
    EXPECT_TRUE(withoutSelection.editGrayed && withoutSelection.deleteGrayed);
    EXPECT_TRUE(withSelection.shown);
    EXPECT_FALSE(withSelection.editGrayed || withSelection.deleteGrayed);
    EXPECT_TRUE(withSelection.icons);
    EXPECT_EQ((std::vector<std::wstring>{L"Oil", L"Belt", L"New wipers"}), StoredNames(car));
}

TEST_F(ManageRemindersTest, DeleteAsksFirstNewAddsAtTheTopAndAltNReachesNew)
{
    std::vector<std::vector<std::wstring>> rows;
    const auto note = [&](HWND dialog) { rows.push_back(Rows(dialog)); };
    UI ui;
    ui.WaitFor(kManage).Do([&](HWND dialog) { Select(dialog, 1); }).Click(IDC_REMINDERS_DELETE).Answer(IDCANCEL);
    ui.WaitFor(kManage).Do(note).Click(IDC_REMINDERS_DELETE).Answer(IDOK).WaitFor(kManage).Do(note);
    // Without a selection (the button is off then; the command all the same): asked, nothing goes.
    ui.Do([&](HWND dialog) {
        Select(dialog, -1);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REMINDERS_DELETE, BN_CLICKED), 0);
    });
    ui.Answer(IDOK).WaitFor(kManage).Do(note);
    ui.Click(IDC_REMINDERS_NEW).WaitFor(kEdit).Focus(IDC_REMINDER_DESCRIPTION).Type(L"Battery").Click(IDOK);
    ui.WaitFor(kManage).Do([&](HWND dialog) {
        note(dialog);
        rows.push_back({std::to_wstring(Selected(dialog)), std::to_wstring(GetFocus() == List(dialog))});
        // Alt+N as the keyboard sends it.
        const LPARAM alt = 1 | (1 << 29);
        PostMessageW(GetFocus(), WM_SYSKEYDOWN, 'N', alt);
        PostMessageW(GetFocus(), WM_SYSCHAR, 'n', alt);
    });
    ui.WaitFor(kEdit).Escape().WaitFor(kManage).Do(note).Click(IDCANCEL);
    Run(ui);

    const std::vector<UI::Seen> boxes = Boxes(ui);
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ(L"Are you sure you want to delete this reminder?", boxes[0].text);
    EXPECT_EQ(L"", boxes[0].caption);
    EXPECT_EQ(0u, boxes[0].icon);
    const std::vector<std::vector<std::wstring>> expected = {
        {L"Wipers", L"Belt", L"Oil"},    {L"Wipers", L"Oil"}, {L"Wipers", L"Oil"},
        {L"Battery", L"Wipers", L"Oil"}, {L"0", L"1"},        {L"Battery", L"Wipers", L"Oil"}};
    EXPECT_EQ(expected, rows);
    EXPECT_EQ((std::vector<std::wstring>{L"Oil", L"Wipers", L"Battery"}), StoredNames(car));
}

TEST_F(ManageRemindersTest, TheColumnsFillTheListAndAColumnMovedByTheUserIsFollowedOnResizing)
{
    std::vector<int> fill;
    const auto widths = [&](HWND dialog) {
        RECT client;
        GetClientRect(List(dialog), &client);
        int sum = 0;
        for (int i = 0; i < 3; ++i) sum += ListView_GetColumnWidth(List(dialog), i);
        fill.push_back(client.right - sum);
        fill.push_back(ListView_GetColumnWidth(List(dialog), 1));
    };
    UI ui;
    ui.WaitFor(kManage).Do(widths).Do([&](HWND dialog) {
        ListView_SetColumnWidth(List(dialog), 0, 80);  // as a drag of the divider leaves it
        RECT rc;
        GetWindowRect(List(dialog), &rc);
        SetWindowPos(List(dialog), nullptr, 0, 0, rc.right - rc.left + 60, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    });
    ui.Do(widths).Click(IDCANCEL);
    Run(ui);
    ASSERT_EQ(4u, fill.size());
    EXPECT_EQ(5, fill[0]) << "the first column widened to the list, less 5 pixels";
    EXPECT_EQ(5, fill[2]) << "after the resize";
    EXPECT_EQ(75, fill[1]);
    EXPECT_GT(fill[3], 75 + 60) << "the column after the moved one took the room";
}

}  // namespace
