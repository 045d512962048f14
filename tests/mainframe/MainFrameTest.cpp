// The main window built in this process on test databases, driven with the messages a user's
// actions produce, checked by what its controls show and what the database holds afterwards.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <memory>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/MainFrame.h"
#include "desktop/Startup.h"
#include "MainFrameTestSupport.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MainWindow.h"
#include "tests/support/Pictures.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/ThreadLocale.h"

using namespace alk_mainframe_test;

namespace {

// The frame with the shell kept out: what would be opened is recorded instead, and the shell's
// answer is shellResult (a program started). With realShell the shell itself is asked.
class TestFrame : public CMainFrame {
public:
    std::vector<std::wstring> opened;
    bool noProgramFolder = false;
    INT_PTR shellResult = 42;
    bool realShell = false;

protected:
    INT_PTR ShellOpen(const wchar_t* target) override
    {
        opened.push_back(target);
        return realShell ? CMainFrame::ShellOpen(target) : shellResult;
    }
    CString ProgramFolder() const override { return noProgramFolder ? CString() : CMainFrame::ProgramFolder(); }
};

// Today as the entry filter sees it (fixed for the whole test program).
const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        PrepareWindowClasses();
        CUtcClock::SetFixedTime(&kToday);
    }

    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_TRUE(locale.IsSet());
        ASSERT_TRUE(db.Ok());
        car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
        van = CVehicleRecord(L"Van").Year(1999).Odometer(80000).Save(db.Db());
        ASSERT_NE(0u, car);
        ASSERT_NE(0u, van);
        Fuel(car, 3, 11950, 30.0f, L"Cheap fuel, see http://example.com/station");
        Entry(car, CEntry::etRepair, 40, 11000, 120.0f, L"Oil change");
        Entry(car, CEntry::etTrip, 2, 11990, 15.0f, L"Trip to town", L"Met the dealer");
        Entry(car, CEntry::etExpense, 100, 10500, 50.0f, L"Parking");
        Fuel(van, 5, 79900, 60.0f);
    }

    void TearDown() override { CloseFrame(frame); }

    // Entries written through the test's own connection, dated days before today at noon; a fuel
    // entry buys 10 units at a tenth of its amount.
    void Fuel(unsigned long vehicle, int daysAgo, long odometer, float amount, const wchar_t* notes = L"")
    {
        EXPECT_NE(0u, CEntryRecord(vehicle, CEntry::etFuel)
                          .Date(DaysBefore(kToday, daysAgo))
                          .Odometer(odometer)
                          .Amount(amount)
                          .Custom(10.0f, amount / 10.0f)
                          .Notes(notes)
                          .Save(db.Db()));
    }
    void Entry(unsigned long vehicle, CEntry::Type type, int daysAgo, long odometer, float amount,
               const wchar_t* description, const wchar_t* notes = L"")
    {
        EXPECT_NE(0u, CEntryRecord(vehicle, type)
                          .Date(DaysBefore(kToday, daysAgo))
                          .Odometer(odometer)
                          .Amount(amount)
                          .Description(description)
                          .Notes(notes)
                          .Save(db.Db()));
    }

    // The frame on the test database, shown, with the remembered vehicle given.
    void Open(unsigned long lastActive) { ASSERT_TRUE(OpenMainWindow(frame, db.Path(), lastActive)); }

    // The frame's controls, found by their ids as a user's tools would find them.
    HWND Control(int id) { return FindControl(*frame, id); }
    HWND Vehicles() { return Control(IDC_VEHICLE_LIST); }
    HWND Entries() { return Control(IDC_ENTRY_LIST); }
    HWND Stats() { return Control(IDC_QUICK_STATS); }
    HWND Notes() { return Control(IDC_NOTES); }
    HWND Picture() { return Control(IDC_VEHICLE_PICTURE); }
    HWND StatusBar() { return Control(ALK_IDW_STATUS_BAR); }
    HWND ToolBar() { return FindControl(*frame, ALK_IDW_TOOLBAR, TOOLBARCLASSNAMEW); }
    HWND CommandBar() { return Control(ALK_IDW_COMMAND_BAR); }
    // The pane container around a control: its caption, and whether it is shown.
    static HWND PaneOf(HWND control) { return GetParent(control); }
    static std::wstring PaneTitle(HWND control)
    {
        CPaneContainer* pane = ObjectOf<CPaneContainer>(PaneOf(control));
        return pane ? pane->GetTitle() : L"<no pane container>";
    }
    static bool Shown(HWND control) { return IsWindowVisible(PaneOf(control)) != FALSE; }

    int VehicleRows() { return static_cast<int>(SendMessageW(Vehicles(), LVM_GETITEMCOUNT, 0, 0)); }
    int EntryRows() { return static_cast<int>(SendMessageW(Entries(), LVM_GETITEMCOUNT, 0, 0)); }
    bool Enabled(UINT id) { return !(frame->UIGetState(id) & UPDUI_DISABLED); }
    bool Checked(UINT id) { return (frame->UIGetState(id) & UPDUI_CHECKED) != 0; }
    bool NotesShown() { return Shown(Notes()); }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring StatusPart(int part)
    {
        wchar_t text[256] = {};
        SendMessageW(StatusBar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The value the quick-statistics pane shows under the label of a row.
    std::wstring StatsValue(int row)
    {
        CQuickStatsListView* stats = ObjectOf<CQuickStatsListView>(Stats());
        return stats ? std::wstring(stats->GetValueText(row)) : L"<no statistics pane>";
    }
    // A notification of a list, sent to its pane container as the control sends it.
    LRESULT Notify(HWND list, NMHDR* header)
    {
        return SendMessageW(PaneOf(list), WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
    }
    // A mouse click in the middle of the vehicle list's row of the vehicle: the list selects the
    // row, takes the focus and reports the click.
    void ClickVehicle(const wchar_t* caption)
    {
        HWND list = Vehicles();
        int row = FindRow(list, caption);
        ASSERT_GE(row, 0);
        RECT rc{};
        rc.left = LVIR_LABEL;
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)));
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
        PumpMessages();
    }
    // A key pressed in a list, as the list reports it.
    void ListKey(HWND list, WORD key)
    {
        NMLVKEYDOWN down{};
        down.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(LVN_KEYDOWN)};
        down.wVKey = key;
        Notify(list, &down.hdr);
    }
    // The toolbar's idea of a button after the frame's idle update.
    bool ToolbarEnabled(UINT id)
    {
        frame->OnIdle();
        return SendMessageW(ToolBar(), TB_ISBUTTONENABLED, id, 0) != 0;
    }
    // The state a menu item gets when its popup opens.
    UINT MenuState(int top, int sub, UINT id)
    {
        CCommandBarCtrl* bar = ObjectOf<CCommandBarCtrl>(CommandBar());
        if (!bar) return 0xFFFFFFFF;
        HMENU popup = GetSubMenu(bar->GetMenu(), top);
        if (sub >= 0) popup = GetSubMenu(popup, sub);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return GetMenuState(popup, id, MF_BYCOMMAND);
    }
    // A press of the picture pane's close button.
    void ClosePicturePane()
    {
        CPaneContainer* pane = ObjectOf<CPaneContainer>(PaneOf(Picture()));
        ASSERT_NE(nullptr, pane);
        ASSERT_TRUE(pane->HasCloseButton());
        SendMessageW(pane->GetCloseButton(), BM_CLICK, 0, 0);
        PumpMessages();
    }

    CSettingsScope settings;
    CThreadLocale locale{CThreadLocale::UnitedStates()};
    SampleDatabase db;
    unsigned long car = 0, van = 0;
    std::unique_ptr<TestFrame> frame;
};

const UINT kVehicleCommands[] = {ID_NEW_FUEL,      ID_NEW_REPAIR,     ID_NEW_TRIP,         ID_NEW_EXPENSE,
                                 ID_NEW_REMINDER,  ID_TOOLS_EXPORT,   ID_TOOLS_REMINDERS,  ID_VIEW_ALL_ENTRIES,
                                 ID_VIEW_EXPENSES, ID_VIEW_ALL_DATES, ID_VIEW_CUSTOM_DATES};

TEST_F(MainFrameTest, WithoutAnActiveVehicleTheVehicleCommandsAreOffAndTheEntryPaneIsEmpty)
{
    Open(0);
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(L"<No Active Vehicle>", PaneTitle(Entries()));
    EXPECT_FALSE(NotesShown());
    for (UINT id : kVehicleCommands) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(ToolbarEnabled(ID_NEW_FUEL));
    EXPECT_FALSE(ToolbarEnabled(ID_TOOLS_EXPORT));
    EXPECT_TRUE(ToolbarEnabled(ID_NEW_VEHICLE));  // outside the table: always on
    EXPECT_TRUE(MenuState(0, 0, ID_NEW_FUEL) & MF_GRAYED);
    EXPECT_FALSE(MenuState(0, 0, ID_NEW_VEHICLE) & MF_GRAYED);
    EXPECT_TRUE(MenuState(1, 1, ID_VIEW_FUEL) & MF_GRAYED);
    // The view still shows which filter is chosen.
    EXPECT_TRUE(Checked(ID_VIEW_ALL_ENTRIES));
    EXPECT_TRUE(Checked(ID_VIEW_ALL_DATES));
    EXPECT_EQ(L"All Dates", StatusPart(1));
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);

    // The bars stand: the menu in its band, the toolbar with the 24-pixel icons.
    RECT bar{};
    GetWindowRect(CommandBar(), &bar);
    EXPECT_TRUE(IsWindowVisible(CommandBar()));
    EXPECT_GT(bar.bottom - bar.top, 10);
    EXPECT_EQ(nullptr, GetMenu(*frame));
    EXPECT_EQ(12,
              ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageW(ToolBar(), TB_GETIMAGELIST, 0, 0))));
}

// The frame's map hands the command bar its keys and menu messages, so the frame keeps its own
// window procedure (a subclass would read window properties at every message, and a list of many
// rows sends the frame a notification a row); Alt still enters and leaves the bar once each, and
// the menus' icons are measured at the frame.
TEST_F(MainFrameTest, TheCommandBarGetsTheFramesMessagesFromItsMapWithoutASubclass)
{
    Open(car);
    CCommandBarCtrl* bar = ObjectOf<CCommandBarCtrl>(CommandBar());
    ASSERT_NE(nullptr, bar);
    EXPECT_FALSE(bar->IsParentSubclassed());
    EXPECT_EQ(GetWindowLongPtrW(*frame, GWLP_WNDPROC), static_cast<LONG_PTR>(GetClassLongPtrW(*frame, GCLP_WNDPROC)));
    frame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(bar->IsKeyboardMode());
    frame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(bar->IsKeyboardMode());
    MEASUREITEMSTRUCT icon{};
    icon.CtlType = ODT_MENU;
    icon.itemID = ID_NEW_FUEL;
    EXPECT_EQ(TRUE, frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&icon)));
    EXPECT_EQ(static_cast<UINT>(GetSystemMetrics(SM_CXSMICON)), icon.itemWidth);
}

TEST_F(MainFrameTest, ClickingAVehicleMakesItActiveWithItsEntriesCaptionAndCommands)
{
    Open(0);
    ClickVehicle(L"Family Car (2002)");
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(12000, g_AppSettings.ActiveOdometer);
    EXPECT_EQ(L"Family Car (2002)", PaneTitle(Entries()));
    EXPECT_EQ(4, EntryRows());
    for (UINT id : kVehicleCommands) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(ToolbarEnabled(ID_NEW_FUEL));
    EXPECT_FALSE(MenuState(0, 0, ID_NEW_TRIP) & MF_GRAYED);
    EXPECT_EQ(Vehicles(), GetFocus()) << "the keys stay where the user clicked";

    // Choosing it again changes nothing: a row deleted from the control stays deleted.
    ListView_DeleteItem(Entries(), 0);
    ClickVehicle(L"Family Car (2002)");
    EXPECT_EQ(3, EntryRows());

    ClickVehicle(L"Van (1999)");
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(1, EntryRows());
    EXPECT_EQ(L"Van (1999)", PaneTitle(Entries()));
}

TEST_F(MainFrameTest, EntryTypeAndDateRangeViewsFilterTheListAndMarkTheirCommand)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());

    Command(ID_VIEW_FUEL);
    EXPECT_EQ(1, EntryRows());
    EXPECT_EQ(CEntry::etFuel, g_AppSettings.ViewEntryType);
    EXPECT_TRUE(Checked(ID_VIEW_FUEL));
    EXPECT_FALSE(Checked(ID_VIEW_ALL_ENTRIES));
    EXPECT_TRUE(MenuState(1, 1, ID_VIEW_FUEL) & MF_CHECKED);
    EXPECT_FALSE(MenuState(1, 1, ID_VIEW_TRIPS) & MF_CHECKED);

    Command(ID_VIEW_EXPENSES);
    EXPECT_EQ(1, EntryRows());
    EXPECT_EQ(L"Parking", ItemText(Entries(), 0, 1));
    EXPECT_TRUE(Checked(ID_VIEW_EXPENSES));
    EXPECT_FALSE(Checked(ID_VIEW_FUEL));

    Command(ID_VIEW_ALL_ENTRIES);
    Command(ID_VIEW_LAST_WEEK);
    EXPECT_EQ(2, EntryRows());  // the fuel entry 3 days and the trip 2 days ago
    EXPECT_EQ(CEntryFilter::drLastWeek, g_AppSettings.ViewDateRangeType);
    EXPECT_TRUE(Checked(ID_VIEW_LAST_WEEK));
    EXPECT_FALSE(Checked(ID_VIEW_ALL_DATES));
    // Seven days back to today (15 June), both ends shown.
    EXPECT_EQ(L"6/8/2026 - 6/15/2026", StatusPart(1));

    Command(ID_VIEW_YEAR_TO_DATE);
    EXPECT_EQ(4, EntryRows());  // 100 days back is still this year (from 15 June)
    Command(ID_VIEW_MONTH_TO_DATE);
    EXPECT_EQ(2, EntryRows());
    EXPECT_TRUE(Checked(ID_VIEW_MONTH_TO_DATE));
    Command(ID_VIEW_ALL_DATES);
    EXPECT_EQ(4, EntryRows());
    EXPECT_EQ(L"All Dates", StatusPart(1));

    // A new frame starts with the chosen views.
    Command(ID_VIEW_TRIPS);
    frame->DestroyWindow();
    g_DataLayer.Disconnect();
    Open(car);
    EXPECT_EQ(1, EntryRows());
    EXPECT_TRUE(Checked(ID_VIEW_TRIPS));
}

TEST_F(MainFrameTest, DeleteAsksAndDeletesOnlyOnYes)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());
    SetFocus(Entries());
    SelectRows(Entries(), {0});
    {
        CDialogScript::Seen box = AnswerBox(IDNO, [&] { Command(ID_DELETE_SELECTED); });
        EXPECT_EQ(L"Autolark", box.caption);
        EXPECT_EQ(L"Do you want to permanently delete the selected entry?", box.text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.icon);
    }
    EXPECT_EQ(4, EntryRows());
    EXPECT_EQ(5, g_DataLayer.GetNumEntries());
    // The answer gave the focus back where it was: the next Delete is about entries again.
    EXPECT_EQ(Entries(), GetFocus());

    SelectRows(Entries(), {0, 2});
    EXPECT_EQ(L"Do you want to permanently delete the selected entries?",
              AnswerBox(IDYES, [&] { Command(ID_DELETE_SELECTED); }).text);
    EXPECT_EQ(2, EntryRows());
    EXPECT_EQ(3, g_DataLayer.GetNumEntries());

    // The vehicle: with its entries, and then no vehicle is active.
    SetFocus(Vehicles());
    int row = FindRow(Vehicles(), L"Family Car (2002)");
    SelectRows(Vehicles(), {row});
    EXPECT_EQ(L"Do you want to permanently delete the selected vehicle and all data associated with it?",
              AnswerBox(IDNO, [&] { Command(ID_DELETE_SELECTED); }).text);
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(L"Autolark", AnswerBox(IDYES, [&] { Command(ID_DELETE_SELECTED); }).caption);
    EXPECT_EQ(1, VehicleRows());
    EXPECT_EQ(L"Van (1999)", ItemText(Vehicles(), 0, 0));
    EXPECT_EQ(1, g_DataLayer.GetNumVehicles());
    EXPECT_EQ(1, g_DataLayer.GetNumEntries());  // the van's
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(0, g_AppSettings.ActiveOdometer);
    EXPECT_EQ(L"<No Active Vehicle>", PaneTitle(Entries()));
    EXPECT_EQ(0, EntryRows());
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));

    // Focus in the notes (or nowhere in the panes): Delete does nothing and asks nothing.
    SetFocus(Notes());
    EXPECT_EQ(L"", AnswerBox(IDYES, [&] { Command(ID_DELETE_SELECTED); }).caption);
    EXPECT_EQ(1, g_DataLayer.GetNumVehicles());
}

// The steps the manual gives: click the vehicle, press Delete, confirm. The vehicle goes with its
// entries; the other vehicle's entries stay.
TEST_F(MainFrameTest, DeleteAfterAClickOnAVehicleDeletesThatVehicle)
{
    Open(van);
    ClickVehicle(L"Family Car (2002)");
    ASSERT_EQ(car, g_AppSettings.LastActiveVehicle);
    ASSERT_EQ(4, EntryRows());
    MSG key{GetFocus(), WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    CDialogScript::Seen box = AnswerBox(IDYES, [&] { EXPECT_TRUE(frame->PreTranslateMessage(&key)); });
    EXPECT_EQ(L"Do you want to permanently delete the selected vehicle and all data associated with it?", box.text);
    EXPECT_EQ(1, VehicleRows());
    EXPECT_EQ(L"Van (1999)", ItemText(Vehicles(), 0, 0));
    EXPECT_EQ(1, g_DataLayer.GetNumVehicles());
    EXPECT_EQ(1, g_DataLayer.GetNumEntries()) << "the van's entry, not one of the car's";
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);

    // Enter on a vehicle still hands the keys to its entries.
    SelectRows(Vehicles(), {0});
    ListKey(Vehicles(), VK_RETURN);
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(Entries(), GetFocus());
}

TEST_F(MainFrameTest, TheDeleteKeyIsTheDeleteCommand)
{
    Open(car);
    SetFocus(Entries());
    SelectRows(Entries(), {1});
    MSG key{Entries(), WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    EXPECT_EQ(L"Autolark", AnswerBox(IDYES, [&] { EXPECT_TRUE(frame->PreTranslateMessage(&key)); }).caption);
    EXPECT_EQ(3, EntryRows());
    MSG other{Entries(), WM_KEYDOWN, 'A', 0x001E0001, 0, {0, 0}};
    EXPECT_FALSE(frame->PreTranslateMessage(&other));
}

TEST_F(MainFrameTest, NotesShowForOneSelectedEntryWithNotesOnly)
{
    g_AppSettings.LastColSorted = 0;  // by date, ascending: expense, repair, fuel, trip
    Open(car);
    ASSERT_EQ(4, EntryRows());
    std::vector<std::wstring> descriptions = ColumnTexts(Entries(), 1);
    int fuelRow = -1, tripRow = -1, repairRow = -1;
    for (int i = 0; i < 4; ++i) {
        if (descriptions[i] == L"Oil change") repairRow = i;
        if (descriptions[i].find(L"Trip to town") == 0) tripRow = i;
        if (descriptions[i].find(L"@") != std::wstring::npos) fuelRow = i;
    }
    ASSERT_TRUE(fuelRow >= 0 && tripRow >= 0 && repairRow >= 0);

    CRichEditCtrl notes(Notes());
    SelectRows(Entries(), {fuelRow});
    EXPECT_TRUE(NotesShown());
    EXPECT_EQ(L"Cheap fuel, see http://example.com/station", WindowText(notes));

    SelectRows(Entries(), {repairRow});
    EXPECT_FALSE(NotesShown());
    EXPECT_EQ(L"", WindowText(notes));

    SelectRows(Entries(), {tripRow});
    EXPECT_TRUE(NotesShown());
    EXPECT_EQ(L"Met the dealer", WindowText(notes));
    SelectRows(Entries(), {tripRow, fuelRow});
    EXPECT_FALSE(NotesShown());

    // Select All of the notes menu selects the whole text and gives it the focus; Copy copies.
    SelectRows(Entries(), {fuelRow});
    Command(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(Notes(), GetFocus());
    EXPECT_EQ(L"Cheap fuel, see http://example.com/station", std::wstring(notes.GetSelText()));

    // A press of the left button on the address opens it; the selection comes back.
    CHARRANGE before{0, 5};
    notes.SetSel(before);
    ENLINK link{};
    link.nmhdr = {notes, IDC_NOTES, EN_LINK};
    link.msg = WM_LBUTTONDOWN;
    link.chrg = {16, 42};
    Notify(notes, &link.nmhdr);
    link.msg = WM_MOUSEMOVE;
    Notify(notes, &link.nmhdr);
    ASSERT_EQ(1u, frame->opened.size());
    EXPECT_EQ(L"http://example.com/station", frame->opened[0]);
    CHARRANGE after{};
    notes.GetSel(after);
    EXPECT_EQ(0, after.cpMin);
    EXPECT_EQ(5, after.cpMax);
}

TEST_F(MainFrameTest, HelpCommandsOpenTheirAddressesAndTheManualBesideTheProgram)
{
    Open(0);
    Command(ID_HELP_WEB);
    Command(ID_HELP_UPDATES);
    Command(ID_HELP_SUPPORT);
    Command(ID_HELP_DOCUMENTATION);
    ASSERT_EQ(4u, frame->opened.size());
    EXPECT_EQ(L"http://www.example.com/autolark/", frame->opened[0]);
    EXPECT_EQ(L"http://www.example.com/autolark/updates", frame->opened[1]);
    EXPECT_EQ(L"http://www.example.com/autolark/support", frame->opened[2]);
    EXPECT_EQ(ProgramFolder() + L"autolark_en.pdf", frame->opened[3]);
}

TEST_F(MainFrameTest, ReloadReactivatesTheRememberedVehicleEvenWhenItIsActive)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());
    // Written meanwhile by another connection, as a synchronisation would.
    Entry(car, CEntry::etRepair, 1, 12100, 80.0f, L"Brakes");
    ASSERT_NE(0u, CVehicleRecord(L"Bike").Year(2010).Odometer(500).Save(db.Db()));
    EXPECT_EQ(4, EntryRows());
    frame->SendMessage(WM_RELOAD_DATA, 7, 9);
    EXPECT_EQ(5, EntryRows());
    EXPECT_EQ(3, VehicleRows());
    EXPECT_EQ(L"Bike (2010)", ItemText(Vehicles(), 0, 0));
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(L"Family Car (2002)", PaneTitle(Entries()));
    int selected = ListView_GetNextItem(Vehicles(), -1, LVNI_SELECTED);
    EXPECT_EQ(L"Family Car (2002)", ItemText(Vehicles(), selected, 0));

    // The remembered vehicle gone: no vehicle is active afterwards.
    CVehicle* gone = new CVehicle;
    gone->SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(gone));
    ASSERT_TRUE(db.Db().Delete(gone));
    delete gone;
    frame->SendMessage(WM_RELOAD_DATA, 0, 0);
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(L"<No Active Vehicle>", PaneTitle(Entries()));
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));
}

TEST_F(MainFrameTest, AVanishedRememberedVehicleStartsWithNoneActive)
{
    Open(0xDEADBEEF);
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(2, VehicleRows());
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));
    EXPECT_EQ(L"<No Active Vehicle>", PaneTitle(Entries()));
    // Connected all the same, and the path remembered for the plug-ins.
    EXPECT_TRUE(g_DataLayer.IsConnected());
    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof stored;
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, L"DBPath", RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_EQ(db.Path(), stored);
}

TEST_F(MainFrameTest, ThePicturePaneClosesAndComesBackAndItsStateIsKept)
{
    Open(car);
    ASSERT_TRUE(Shown(Picture()));
    EXPECT_TRUE(Checked(ID_VIEW_PICTURE));
    ClosePicturePane();
    EXPECT_FALSE(Shown(Picture()));
    EXPECT_TRUE(Shown(Stats())) << "the statistics take the room";
    EXPECT_FALSE(Checked(ID_VIEW_PICTURE));
    EXPECT_FALSE(MenuState(1, -1, ID_VIEW_PICTURE) & MF_CHECKED);

    Command(ID_VIEW_PICTURE);
    EXPECT_TRUE(Shown(Picture()));
    EXPECT_TRUE(Checked(ID_VIEW_PICTURE));
    Command(ID_VIEW_PICTURE);
    EXPECT_FALSE(Shown(Picture()));

    // Closed: kept so for the next frame.
    frame->DestroyWindow();
    EXPECT_EQ(0, g_AppSettings.ShowVehiclePicture);
    g_DataLayer.Disconnect();
    Open(car);
    EXPECT_FALSE(Shown(Picture()));
    EXPECT_FALSE(Checked(ID_VIEW_PICTURE));
    Command(ID_VIEW_PICTURE);
    frame->DestroyWindow();
    EXPECT_EQ(-1, g_AppSettings.ShowVehiclePicture);
}

TEST_F(MainFrameTest, TabMovesAcrossAndEnterActivatesTheSelectedVehicle)
{
    Open(car);
    SetFocus(Vehicles());
    ListKey(Vehicles(), VK_TAB);
    EXPECT_EQ(Entries(), GetFocus());
    EXPECT_EQ(IDC_ENTRY_LIST, frame->GetFocusedListId());

    ListKey(Entries(), VK_TAB);
    EXPECT_EQ(Vehicles(), GetFocus());
    EXPECT_EQ(IDC_VEHICLE_LIST, frame->GetFocusedListId());

    SetFocus(Stats());
    EXPECT_EQ(IDC_QUICK_STATS, frame->GetFocusedListId());
    ListKey(Stats(), VK_TAB);
    EXPECT_EQ(Entries(), GetFocus());
    SetFocus(Notes());
    EXPECT_EQ(0, frame->GetFocusedListId());

    // Enter on another vehicle's row activates it.
    int row = FindRow(Vehicles(), L"Van (1999)");
    SelectRows(Vehicles(), {row});
    ListKey(Vehicles(), VK_RETURN);
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(1, EntryRows());
}

TEST_F(MainFrameTest, SyncCurrentOdometerStoresTheLargestEntryOdometer)
{
    Open(car);
    Fuel(car, 1, 12500, 40.0f);
    frame->SyncCurrentOdometer();
    EXPECT_EQ(12500, g_AppSettings.ActiveOdometer);
    CVehicle stored;
    stored.SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(&stored));
    EXPECT_EQ(12500, stored.GetCurrentOdometer());
    // Lower than before is taken too: the entries decide.
    g_AppSettings.ActiveOdometer = 20000;
    frame->SyncCurrentOdometer();
    EXPECT_EQ(12500, g_AppSettings.ActiveOdometer);
}

TEST_F(MainFrameTest, TheExitCommandClosesTheFrameAndTheLayoutIsSaved)
{
    Open(car);
    Command(ID_APP_EXIT);
    PumpMessages();
    EXPECT_FALSE(frame->IsWindow());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY L"\\UI", 0, KEY_READ, &key));
    for (const wchar_t* name :
         {L"WndPlacement", L"Splitter_vSplit", L"Splitter_hSplit1", L"Splitter_hSplit2", L"Splitter_hSplit3"})
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr)) << name;
    RegCloseKey(key);
    // The quit the frame posted is not this test's to keep.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(MainFrameTest, StatisticsFollowTheViewAndTheDeletions)
{
    const int total = 7;  // the row "Total overall expense:"
    Open(car);
    EXPECT_EQ(L"$215.00", StatsValue(total));  // 30 + 120 + 15 + 50
    Command(ID_VIEW_FUEL);
    EXPECT_EQ(L"$30.00", StatsValue(total));
    Command(ID_VIEW_ALL_ENTRIES);
    Command(ID_VIEW_LAST_WEEK);
    EXPECT_EQ(L"$45.00", StatsValue(total));
    EXPECT_EQ(L"6/8/2026 - 6/15/2026", StatsValue(0));
    Command(ID_VIEW_ALL_DATES);

    SetFocus(Entries());
    int parking = FindRow(Entries(), L"3/7/2026");  // 100 days before 15 June
    ASSERT_GE(parking, 0);
    EXPECT_EQ(L"Parking", ItemText(Entries(), parking, 1));
    SelectRows(Entries(), {parking});
    AnswerBox(IDYES, [&] { Command(ID_DELETE_SELECTED); });
    EXPECT_EQ(L"$165.00", StatsValue(total));

    // The statistics rows are two lines high: the frame measures them through the list.
    RECT statsRow{}, vehicleRow{};
    ListView_GetItemRect(Stats(), 0, &statsRow, LVIR_BOUNDS);
    ListView_GetItemRect(Vehicles(), 0, &vehicleRow, LVIR_BOUNDS);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTVIEW;
    measure.CtlID = IDC_QUICK_STATS;
    CQuickStatsListView* stats = ObjectOf<CQuickStatsListView>(Stats());
    ASSERT_NE(nullptr, stats);
    stats->MeasureItem(&measure);
    EXPECT_EQ(static_cast<LONG>(measure.itemHeight), statsRow.bottom - statsRow.top);
    EXPECT_GT(statsRow.bottom - statsRow.top, vehicleRow.bottom - vehicleRow.top);
    EXPECT_EQ(10, ListView_GetItemCount(Stats()));
}

TEST_F(MainFrameTest, AColumnClickReachesTheEntryListThroughTheFrame)
{
    Open(car);
    ASSERT_EQ(1, g_AppSettings.SortAscending);
    NMLISTVIEW click{};
    click.hdr = {Entries(), IDC_ENTRY_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = 3;
    Notify(Entries(), &click.hdr);
    EXPECT_EQ(0, g_AppSettings.SortAscending);
    EXPECT_EQ(3, g_AppSettings.LastColSorted);
    EXPECT_EQ(L"$120.00", ItemText(Entries(), 0, 3));  // the largest amount first
}

// The notes pane's menu, looked at while it is open and then left.
struct NotesMenuSeen {
    bool shown = false;
    UINT copyState = 0;
    UINT selectAllState = 0;
};
NotesMenuSeen* g_menuSeen = nullptr;
void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    g_menuSeen->shown = true;
    g_menuSeen->copyState = GetMenuState(menu, ID_EDIT_COPY, MF_BYCOMMAND);
    g_menuSeen->selectAllState = GetMenuState(menu, ID_EDIT_SELECT_ALL, MF_BYCOMMAND);
    EndMenu();
}

TEST_F(MainFrameTest, TheNotesMenuGreysCopyWithoutASelection)
{
    Open(car);
    int fuel = FindRow(Entries(), L"6/12/2026");  // 3 days before 15 June
    ASSERT_GE(fuel, 0);
    SelectRows(Entries(), {fuel});
    ASSERT_TRUE(NotesShown());
    CRichEditCtrl notes(Notes());
    auto rightClick = [&] {
        NotesMenuSeen seen;
        g_menuSeen = &seen;
        UINT_PTR timer = SetTimer(nullptr, 0, 40, &LookAtMenu);
        MSGFILTER filter{};
        filter.nmhdr = {notes, IDC_NOTES, EN_MSGFILTER};
        filter.msg = WM_RBUTTONDOWN;
        Notify(notes, &filter.nmhdr);
        KillTimer(nullptr, timer);
        g_menuSeen = nullptr;
        return seen;
    };
    notes.SetSel(3, 3);
    NotesMenuSeen none = rightClick();
    EXPECT_TRUE(none.shown);
    EXPECT_TRUE(none.copyState & MF_GRAYED);
    EXPECT_FALSE(none.selectAllState & MF_GRAYED);

    notes.SetSel(0, 5);
    NotesMenuSeen some = rightClick();
    EXPECT_TRUE(some.shown);
    EXPECT_FALSE(some.copyState & MF_GRAYED);
    // Other mouse messages pass by without a menu.
    MSGFILTER move{};
    move.nmhdr = {notes, IDC_NOTES, EN_MSGFILTER};
    move.msg = WM_MOUSEMOVE;
    EXPECT_EQ(0, Notify(notes, &move.nmhdr));
}

TEST_F(MainFrameTest, TheQuickStatisticsPaneShowsTheActiveVehiclesFigures)
{
    // The van's second fill-up: 300 miles on 12 gallons since the first.
    ASSERT_NE(0u, CEntryRecord(van, CEntry::etFuel)
                      .Date(DaysBefore(kToday, 1))
                      .Odometer(80200)
                      .Amount(48.0f)
                      .Custom(12.0f, 4.0f)
                      .Vendor(L"Shell")
                      .Save(db.Db()));
    Open(0);
    const std::vector<std::wstring> none(10, L"N/A");
    std::vector<std::wstring> shown;
    for (int row = 0; row < 10; ++row) shown.push_back(StatsValue(row));
    EXPECT_EQ(none, shown);

    ClickVehicle(L"Van (1999)");
    shown.clear();
    for (int row = 0; row < 10; ++row) shown.push_back(StatsValue(row));
    EXPECT_EQ((std::vector<std::wstring>{L"All Dates", L"25.00 mi/gal", L"25.00 mi/gal", L"$4.91 per gal", L"300 miles",
                                         L"12.00 gal", L"$108.00", L"$108.00", L"4.00 gal per 100 miles",
                                         L"$36.00 per 100 miles"}),
              shown);

    // The family car: one fill-up among other entries, stored from 11950 down to 10500 but dated
    // from 10500 (100 days ago) up to 11990 (2 days ago): the distance goes by the dates.
    ClickVehicle(L"Family Car (2002)");
    shown.clear();
    for (int row = 0; row < 10; ++row) shown.push_back(StatsValue(row));
    EXPECT_EQ((std::vector<std::wstring>{L"All Dates", L"N/A", L"N/A", L"$3.00 per gal", L"1,490 miles", L"0.00 gal",
                                         L"$30.00", L"$215.00", L"0.00 gal per 100 miles", L"$14.43 per 100 miles"}),
              shown);
}

TEST_F(MainFrameTest, ViewCommandsWithoutAnActiveVehicleShowNoEntriesAndNoFigures)
{
    Open(0);
    ASSERT_EQ(0u, g_AppSettings.LastActiveVehicle);
    // Disabled in the menus, but a command can still arrive (another program, a test): the
    // view changes, and still no vehicle's entries are shown.
    Command(ID_VIEW_FUEL);
    EXPECT_EQ(0, EntryRows());
    EXPECT_TRUE(Checked(ID_VIEW_FUEL));
    EXPECT_EQ(CEntry::etFuel, g_AppSettings.ViewEntryType);
    Command(ID_VIEW_LAST_TWO_WEEKS);
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(L"6/1/2026 - 6/15/2026", StatusPart(1));
    Command(ID_VIEW_ALL_ENTRIES);
    Command(ID_VIEW_ALL_DATES);
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(L"N/A", StatsValue(7));
    EXPECT_EQ(L"<No Active Vehicle>", PaneTitle(Entries()));
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));
}

TEST_F(MainFrameTest, ActivatingAVehicleShowsItsPictureAndAVehicleWithoutOneTheDefault)
{
    CScratchFolder folder(L"alk-mainframe");
    const std::wstring picture = folder.File(L"van.bmp");
    ASSERT_TRUE(WriteBitmapFile(picture, 40, 30, RGB(200, 40, 30)));
    const unsigned long truck =
        CVehicleRecord(L"Truck").Year(2005).Odometer(1000).Picture(picture.c_str()).Save(db.Db());
    ASSERT_NE(0u, truck);
    Open(0);
    CVehicleImage* image = ObjectOf<CVehicleImage>(Picture());
    ASSERT_NE(nullptr, image);
    EXPECT_TRUE(image->IsDefaultPicture());

    ClickVehicle(L"Truck (2005)");
    EXPECT_FALSE(image->IsDefaultPicture());
    HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageW(Picture(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_TRUE(ColoursNear(RGB(200, 40, 30), CentrePixel(shown))) << std::hex << CentrePixel(shown);

    ClickVehicle(L"Van (1999)");
    EXPECT_TRUE(image->IsDefaultPicture());
    // Reopened on the remembered vehicle, the picture comes with it.
    frame->DestroyWindow();
    g_DataLayer.Disconnect();
    Open(truck);
    image = ObjectOf<CVehicleImage>(Picture());
    ASSERT_NE(nullptr, image);
    EXPECT_FALSE(image->IsDefaultPicture());
}

TEST_F(MainFrameTest, AReloadThatFindsNoVehiclesKeepsTheRememberedOne)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());
    // No database for the moment (a reload arriving before one is connected, or a file another
    // program holds): nothing can be shown, but the vehicle the user chose stays remembered.
    g_DataLayer.Disconnect();
    frame->SendMessage(WM_RELOAD_DATA, 0, 0);
    EXPECT_EQ(0, VehicleRows());
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(L"<No Active Vehicle>", PaneTitle(Entries()));
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(L"N/A", StatsValue(7));
    // A new entry or reminder and the reminders' list ask for a vehicle, as with none remembered:
    // the remembered one is not shown.
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), AnswerBox(IDOK, [&] { Command(ID_NEW_FUEL); }).icon);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), AnswerBox(IDOK, [&] { Command(ID_NEW_REMINDER); }).icon);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), AnswerBox(IDOK, [&] { Command(ID_TOOLS_REMINDERS); }).icon);

    ASSERT_EQ(CDataLayer::csConnected, g_DataLayer.Connect(db.Path().c_str()));
    Command(ID_VIEW_FUEL);  // still no vehicle shown: not every vehicle's fuel entries either
    EXPECT_EQ(0, EntryRows());
    Command(ID_VIEW_ALL_ENTRIES);
    frame->SendMessage(WM_RELOAD_DATA, 0, 0);
    EXPECT_EQ(L"Family Car (2002)", PaneTitle(Entries()));
    EXPECT_EQ(4, EntryRows());
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
}

TEST_F(MainFrameTest, ViewsOutsideTheMenusStartAsTheDefaults)
{
    g_AppSettings.ViewEntryType = static_cast<CEntry::Type>(9);
    g_AppSettings.ViewDateRangeType = static_cast<CEntryFilter::DateRangeType>(-1);
    Open(car);
    EXPECT_EQ(4, EntryRows());
    EXPECT_TRUE(Checked(ID_VIEW_ALL_ENTRIES));
    EXPECT_TRUE(Checked(ID_VIEW_ALL_DATES));
    // ID_VIEW_ALL_ENTRIES + 9 is a date-range command: it keeps no check of an entry type.
    for (UINT id = ID_VIEW_LAST_WEEK; id <= ID_VIEW_CUSTOM_DATES; ++id) EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(CEntry::etNone, g_AppSettings.ViewEntryType);
    EXPECT_EQ(CEntryFilter::drAll, g_AppSettings.ViewDateRangeType);
}

TEST_F(MainFrameTest, WithoutAProgramFolderTheManualIsNotLookedForInTheCurrentFolderButReportedMissing)
{
    Open(0);
    frame->noProgramFolder = true;
    const CDialogScript::Seen seen = AnswerBox(IDOK, [&] { Command(ID_HELP_DOCUMENTATION); });
    EXPECT_TRUE(frame->opened.empty()) << frame->opened[0];
    EXPECT_EQ(L"The manual autolark_en.pdf could not be found. Install Autolark again to get it back.", seen.text);
    frame->noProgramFolder = false;
    Command(ID_HELP_DOCUMENTATION);
    EXPECT_EQ(1u, frame->opened.size());
}

// A manual the shell cannot open is reported with its path and the cause; one it opens is not.
TEST_F(MainFrameTest, AManualThatCannotBeOpenedIsReportedWithItsPathAndTheCause)
{
    Open(0);
    const std::wstring manual = ProgramFolder() + L"autolark_en.pdf";
    struct Case {
        INT_PTR shellResult;
        std::wstring text;
    } cases[] = {
        {SE_ERR_FNF, L"The manual " + manual + L" could not be found. Install Autolark again to get it back."},
        {SE_ERR_PNF, L"The manual " + manual + L" could not be found. Install Autolark again to get it back."},
        {SE_ERR_NOASSOC, L"The manual " + manual +
                             L" could not be opened: there is no program to open PDF files on this computer. "
                             L"Install a PDF reader, such as Adobe Reader, and try again."},
        {SE_ERR_ASSOCINCOMPLETE, L"The manual " + manual +
                                     L" could not be opened: there is no program to open PDF files on this "
                                     L"computer. Install a PDF reader, such as Adobe Reader, and try again."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shellResult);
        frame->shellResult = c.shellResult;
        const CDialogScript::Seen seen = AnswerBox(IDOK, [&] { Command(ID_HELP_DOCUMENTATION); });
        EXPECT_EQ(c.text, seen.text);
        EXPECT_EQ(L"Autolark", seen.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), seen.icon);
    }

    // Any other failure in the system's own words, after the path; nothing when it opened.
    frame->shellResult = SE_ERR_ACCESSDENIED;
    const std::wstring denied = AnswerBox(IDOK, [&] { Command(ID_HELP_DOCUMENTATION); }).text;
    const std::wstring prefix = L"The manual " + manual + L" could not be opened: ";
    ASSERT_EQ(prefix, denied.substr(0, prefix.size()));
    EXPECT_GT(denied.size(), prefix.size() + 3) << "no cause named";
    EXPECT_NE(L'\n', denied.back()) << "the system's line break left in";
    frame->shellResult = 42;
    EXPECT_EQ(L"", AnswerBox(IDOK, [&] { Command(ID_HELP_DOCUMENTATION); }).caption);
    EXPECT_EQ(6u, frame->opened.size());
}

// The real shell: no manual beside the program, then one that no program opens (no PDF reader).
// Each is told; the web pages are not concerned.
TEST_F(MainFrameTest, TheShellFailingToOpenTheManualIsToldWhetherTheFileOrAViewerIsMissing)
{
    Open(0);
    frame->realShell = true;
    const std::wstring manual = ProgramFolder() + L"autolark_en.pdf";
    {
        CManualWithoutViewer missing(false);
        const CDialogScript::Seen seen = AnswerBox(IDOK, [&] { Command(ID_HELP_DOCUMENTATION); });
        EXPECT_EQ(L"The manual " + manual + L" could not be found. Install Autolark again to get it back.", seen.text);
    }
    {
        CManualWithoutViewer noViewer;
        ASSERT_TRUE(CManualWithoutViewer::NoViewer());
        const CDialogScript::Seen seen = AnswerBox(IDOK, [&] { Command(ID_HELP_DOCUMENTATION); });
        EXPECT_EQ(L"The manual " + manual +
                      L" could not be opened: there is no program to open PDF files on this computer. Install a "
                      L"PDF reader, such as Adobe Reader, and try again.",
                  seen.text);
    }
    EXPECT_FALSE(CManualWithoutViewer::NoViewer()) << "the association was not put back";
    EXPECT_EQ(2u, frame->opened.size());
}

TEST_F(MainFrameTest, TheNotesPaneEmptiesWhenNoEntryIsSelected)
{
    const unsigned long bike = CVehicleRecord(L"Bike").Year(2010).Odometer(500).Save(db.Db());
    ASSERT_NE(0u, bike);
    Open(car);
    CRichEditCtrl notes(Notes());
    int fuel = FindRow(Entries(), L"6/12/2026");
    ASSERT_GE(fuel, 0);
    SelectRows(Entries(), {fuel});
    ASSERT_TRUE(NotesShown());

    // A vehicle without entries: nothing is selected, so no notes.
    ClickVehicle(L"Bike (2010)");
    EXPECT_FALSE(NotesShown());
    EXPECT_EQ(L"", WindowText(notes));

    // A view without entries of the vehicle.
    ClickVehicle(L"Family Car (2002)");
    SelectRows(Entries(), {FindRow(Entries(), L"6/12/2026")});
    ASSERT_TRUE(NotesShown());
    Command(ID_VIEW_TRIPS);
    Command(ID_VIEW_MONTH_TO_DATE);
    Command(ID_VIEW_EXPENSES);  // the only expense is 100 days old
    ASSERT_EQ(0, EntryRows());
    EXPECT_FALSE(NotesShown());
    EXPECT_EQ(L"", WindowText(notes));
    Command(ID_VIEW_ALL_ENTRIES);
    Command(ID_VIEW_ALL_DATES);

    // The selected entry deleted.
    fuel = FindRow(Entries(), L"6/12/2026");
    SetFocus(Entries());
    SelectRows(Entries(), {fuel});
    ASSERT_TRUE(NotesShown());
    EXPECT_EQ(L"Autolark", AnswerBox(IDYES, [&] { Command(ID_DELETE_SELECTED); }).caption);
    ASSERT_EQ(3, EntryRows());
    EXPECT_FALSE(NotesShown());
    EXPECT_EQ(L"", WindowText(notes));
}

// AllowSetForegroundWindow as the program imports it: what it was asked, and whether the running
// frame had been asked to come forward by then.
struct ForegroundSeen {
    std::vector<DWORD> allowed;
    bool frameStillIconic = false;
    HWND frame = nullptr;
};
ForegroundSeen* g_foreground = nullptr;
BOOL WINAPI RecordAllowSetForegroundWindow(DWORD process)
{
    g_foreground->allowed.push_back(process);
    g_foreground->frameStillIconic = IsIconic(g_foreground->frame) != FALSE;
    return TRUE;
}

TEST_F(MainFrameTest, ASecondStartLetsTheRunningInstanceTakeTheForegroundBeforeItAsks)
{
    Open(car);
    frame->ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(frame->IsIconic());
    ForegroundSeen seen;
    seen.frame = *frame;
    g_foreground = &seen;
    {
        CImportPatch patch(nullptr, "user32.dll", "AllowSetForegroundWindow",
                           reinterpret_cast<void*>(&RecordAllowSetForegroundWindow));
        ASSERT_TRUE(patch.Patched());
        ActivateRunningInstance();
        PumpMessages();
    }
    g_foreground = nullptr;
    EXPECT_EQ(std::vector<DWORD>{GetCurrentProcessId()}, seen.allowed) << "the frame's process";
    EXPECT_TRUE(seen.frameStillIconic) << "allowed before the broadcast";
    EXPECT_FALSE(frame->IsIconic()) << "the broadcast brought it back";
}

}  // namespace
